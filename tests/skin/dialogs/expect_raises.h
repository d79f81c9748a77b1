#pragma once
// A table of calls that must each raise one exception class with one text.
#include <functional>

#include <gtest/gtest.h>

struct TRaiseCase {
    const char* Name;
    std::function<void()> Call;
    const char* Text;
};

template <typename TException>
void ExpectEachRaises(std::initializer_list<TRaiseCase> ACases)
{
    for (const TRaiseCase& C : ACases) {
        try {
            C.Call();
            ADD_FAILURE() << C.Name << " did not raise";
        } catch (const TException& E) {
            EXPECT_STREQ(E.what(), C.Text) << C.Name;
        }
    }
}
