#pragma once
// The skin data's private messages and the list of forms they go to. Until the form layer exists, a form that
// wants the messages registers a receiver here, in the order of the application's form list; the form layer will
// register one receiver per form that passes the message on to the form's window.
#include <cstdint>
#include <vector>

#include "platform/rtl/classes.h"

constexpr Cardinal SKM_BEFORECHANGE = 1225;
constexpr Cardinal SKM_CHANGE = 1226;
constexpr Cardinal SKM_AFTERCHANGE = 1227;
constexpr Cardinal SKM_RESSTRINGS_CHANGED = 1274;
constexpr Cardinal SKM_SKINNABLEFORM_CHANGED = 1294;
constexpr Cardinal SKM_LAYEREDBORDERS_CHANGED = 1427;
constexpr Cardinal SKM_AEROBLUR_CHANGED = 1428;
// The lParam of every skin data message.
constexpr intptr_t SkinDataMessageLParam = 1000;

class TspSkinMessageReceiver {
public:
    virtual ~TspSkinMessageReceiver() = default;
    // The form this receiver speaks for; compared with the skin data's owner.
    virtual TComponent* ReceiverForm() const = 0;
    // The pieces of a layered border stand in the form list but never get the skin data's messages.
    virtual bool IsLayerWindow() const { return false; }
    // Handled before it returns: the messages are sent, not posted.
    virtual void SkinDataMessage(Cardinal Msg, intptr_t WParam, intptr_t LParam) = 0;
};

// The open forms in the application's form list order. Receivers unregister themselves before they go.
class TspFormRegistry {
public:
    static void Register(TspSkinMessageReceiver* AReceiver);
    // Ahead of every form: for open menus, which must close before any form starts a skin change.
    static void RegisterFirst(TspSkinMessageReceiver* AReceiver);
    static void Unregister(TspSkinMessageReceiver* AReceiver);
    static std::vector<TspSkinMessageReceiver*> Forms();
};
