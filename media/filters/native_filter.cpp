#include "media/filters/native_filter.h"

#include <map>
#include <mutex>

namespace {

std::mutex RegistryLock;

// Descriptions are never removed, so pointers into the map stay valid for the run.
std::map<std::string, TNativeFilterDesc>& Filters()
{
    static std::map<std::string, TNativeFilterDesc> filters;
    return filters;
}

std::map<int64_t, TLiveCell>& Cells()
{
    static std::map<int64_t, TLiveCell> cells;
    return cells;
}
int64_t NextHandle = 1;

}  // namespace

bool RegisterNativeFilter(const TNativeFilterDesc& ADesc)
{
    std::lock_guard guard(RegistryLock);
    return Filters().emplace(ADesc.Name, ADesc).second;
}

const TNativeFilterDesc* FindNativeFilter(const std::string& AName)
{
    std::lock_guard guard(RegistryLock);
    const auto it = Filters().find(AName);
    return it == Filters().end() ? nullptr : &it->second;
}

TLiveCell NewLiveCell(int32_t AValue) { return std::make_shared<std::atomic<int32_t>>(AValue); }

int64_t RegisterLiveCell(const TLiveCell& ACell)
{
    std::lock_guard guard(RegistryLock);
    const int64_t handle = NextHandle++;
    Cells().emplace(handle, ACell);
    return handle;
}

void UnregisterLiveCell(int64_t AHandle)
{
    std::lock_guard guard(RegistryLock);
    Cells().erase(AHandle);
}

TLiveCell FindLiveCell(int64_t AHandle)
{
    std::lock_guard guard(RegistryLock);
    const auto it = Cells().find(AHandle);
    return it == Cells().end() ? nullptr : it->second;
}
