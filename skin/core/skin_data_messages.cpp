#include "skin/core/skin_data_messages.h"

#include <algorithm>

namespace {

std::vector<TspSkinMessageReceiver*>& Receivers()
{
    static std::vector<TspSkinMessageReceiver*> receivers;
    return receivers;
}

}  // namespace

void TspFormRegistry::Register(TspSkinMessageReceiver* AReceiver)
{
    auto& list = Receivers();
    if (std::find(list.begin(), list.end(), AReceiver) == list.end()) list.push_back(AReceiver);
}

void TspFormRegistry::RegisterFirst(TspSkinMessageReceiver* AReceiver)
{
    auto& list = Receivers();
    if (std::find(list.begin(), list.end(), AReceiver) == list.end()) list.insert(list.begin(), AReceiver);
}

void TspFormRegistry::Unregister(TspSkinMessageReceiver* AReceiver)
{
    auto& list = Receivers();
    list.erase(std::remove(list.begin(), list.end(), AReceiver), list.end());
}

std::vector<TspSkinMessageReceiver*> TspFormRegistry::Forms() { return Receivers(); }
