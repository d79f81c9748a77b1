#pragma once
// Binding of exported names to the engine's slots. Every slot is filled by name from one loaded library; a
// missing mandatory name fails the library with a text naming the entry and the library file.
#include <string>

// Stores the address of AName in ASlot. A missing name raises Exception "Load function %s@%s error: %s" unless
// AOptional, in which case the slot is left empty.
void* BindAddress(const std::string& ALibName, void* AHandle, const char* AName, bool AOptional, bool AVariable);

template <typename TSlot>
void BindFunction(const std::string& ALibName, void* AHandle, const char* AName, bool AOptional, TSlot& ASlot)
{
    ASlot = reinterpret_cast<TSlot>(BindAddress(ALibName, AHandle, AName, AOptional, false));
}

// As BindFunction for an exported variable ("Load variable %s@%s error: %s"); the slot receives its address.
template <typename TSlot>
void BindVariable(const std::string& ALibName, void* AHandle, const char* AName, bool AOptional, TSlot& ASlot)
{
    ASlot = reinterpret_cast<TSlot>(BindAddress(ALibName, AHandle, AName, AOptional, true));
}

// Per library: bind its whole list (and check its major version against the headers'), or clear its slots.
using TFixupProc = void (*)(const std::string& ALibName, void* AHandle);
using TUnfixProc = void (*)();

void FixupAVUtil(const std::string& ALibName, void* AHandle);
void FixupSwResample(const std::string& ALibName, void* AHandle);
void FixupSwScale(const std::string& ALibName, void* AHandle);
void FixupAVCodec(const std::string& ALibName, void* AHandle);
void FixupAVFormat(const std::string& ALibName, void* AHandle);
void FixupAVFilter(const std::string& ALibName, void* AHandle);
void UnfixAVUtil();
void UnfixSwResample();
void UnfixSwScale();
void UnfixAVCodec();
void UnfixAVFormat();
void UnfixAVFilter();
