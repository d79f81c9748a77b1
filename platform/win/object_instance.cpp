#include "platform/rtl/exceptions.h"
#include "platform/win/window.h"

#include <array>
#include <mutex>
#include <utility>

namespace win {

// Object instances: a fixed pool of real procedures, each forwarding to its slot.
namespace {
// Object instances are for the few windows subclassed by an object's method; ordinary controls find their
// object through the window's data instead.
constexpr size_t kInstanceSlots = 256;

struct TInstancePool {
    std::mutex Lock;
    std::array<TObjectWndProc, kInstanceSlots> Methods;
    std::array<bool, kInstanceSlots> Used{};
};

TInstancePool& Pool()
{
    static TInstancePool* pool = new TInstancePool;
    return *pool;
}

LRESULT ForwardTo(size_t ASlot, HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam)
{
    TObjectWndProc method;
    {
        std::lock_guard lock(Pool().Lock);
        method = Pool().Methods[ASlot];
    }
    return method ? method(AWindow, AMessage, AWParam, ALParam) : DefWindowProc(AWindow, AMessage, AWParam, ALParam);
}

template <size_t I>
LRESULT Forward(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam)
{
    return ForwardTo(I, AWindow, AMessage, AWParam, ALParam);
}

template <size_t... I>
constexpr std::array<WNDPROC, sizeof...(I)> MakeForwarders(std::index_sequence<I...>)
{
    return {&Forward<I>...};
}

const std::array<WNDPROC, kInstanceSlots>& Forwarders()
{
    static const auto table = MakeForwarders(std::make_index_sequence<kInstanceSlots>());
    return table;
}
}  // namespace

WNDPROC MakeObjectInstance(TObjectWndProc AMethod)
{
    auto& pool = Pool();
    std::lock_guard lock(pool.Lock);
    for (size_t i = 0; i < kInstanceSlots; ++i)
        if (!pool.Used[i]) {
            pool.Used[i] = true;
            pool.Methods[i] = std::move(AMethod);
            return Forwarders()[i];
        }
    throw Exception("Out of window procedure instances");
}

void FreeObjectInstance(WNDPROC AProc)
{
    auto& pool = Pool();
    const auto& table = Forwarders();
    std::lock_guard lock(pool.Lock);
    for (size_t i = 0; i < kInstanceSlots; ++i)
        if (table[i] == AProc) {
            pool.Used[i] = false;
            pool.Methods[i] = nullptr;
        }
}

}  // namespace win
