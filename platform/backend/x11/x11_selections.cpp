#include "platform/backend/x11/uri_list.h"
#include "platform/backend/x11/x11_impl.h"

#include <X11/Xatom.h>

#include <algorithm>
#include <chrono>
#include <climits>

namespace x11 {

namespace {

std::string Latin1ToUtf8(const std::string& AText)
{
    std::string result;
    for (char c : AText) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            result += c;
        } else {
            result += static_cast<char>(0xC0 | (byte >> 6));
            result += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return result;
}

// Characters outside Latin-1 become '?', as a program asking for plain STRING can show nothing better.
std::string Utf8ToLatin1(const std::string& AText)
{
    std::string result;
    for (size_t i = 0; i < AText.size();) {
        auto byte = static_cast<unsigned char>(AText[i]);
        int extra = byte < 0x80 ? 0 : (byte >> 5) == 6 ? 1 : (byte >> 4) == 14 ? 2 : (byte >> 3) == 30 ? 3 : 0;
        if (extra == 1 && i + 1 < AText.size() && byte <= 0xC3)
            result += static_cast<char>(((byte & 0x1F) << 6) | (static_cast<unsigned char>(AText[i + 1]) & 0x3F));
        else
            result += byte < 0x80 ? static_cast<char>(byte) : '?';
        i += extra + 1;
    }
    return result;
}

constexpr auto kSelectionTimeOut = std::chrono::seconds(3);

}  // namespace

std::optional<std::string> TX11Backend::TImpl::ReadProperty(Window AWindow, Atom AProperty, Atom* AType) const
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(Dpy, AWindow, AProperty, 0, LONG_MAX / 4, False, AnyPropertyType, &type, &format, &count,
                           &after, &data) != Success)
        return std::nullopt;
    if (AType)
        *AType = type;
    if (type == None) {
        if (data)
            XFree(data);
        return std::nullopt;
    }
    size_t unit = format == 32 ? sizeof(long) : static_cast<size_t>(format / 8);
    std::string result(reinterpret_cast<const char*>(data), count * unit);
    XFree(data);
    return result;
}

void TX11Backend::SetClipboardText(const std::string& AText)
{
    if (F->Lost)
        return;
    TImpl& f = *F;
    std::lock_guard lock(f.Lock);
    f.ClipText = AText;
    f.OwnClipboard = true;
    XSetSelectionOwner(f.Dpy, f.A.Clipboard, f.Utility, CurrentTime);
    // Other programs asking right after this returns must already find us as the owner.
    XSync(f.Dpy, False);
    f.Kick();
}

std::optional<std::string> TX11Backend::ClipboardText() const
{
    if (F->Lost)
        return std::nullopt;
    TImpl& f = *F;
    std::unique_lock lock(f.Lock);
    // The server's answer, not our flag: another program may have taken the selection a moment ago.
    Window owner = XGetSelectionOwner(f.Dpy, f.A.Clipboard);
    f.Kick();
    if (owner == f.Utility && f.OwnClipboard)
        return f.ClipText;
    if (owner == None)
        return std::nullopt;
    for (Atom target : {f.A.Utf8String, static_cast<Atom>(XA_STRING)}) {
        f.RequestPending = true;
        f.RequestIncr = false;
        f.RequestProgress = 0;
        f.RequestResult.reset();
        f.RequestTarget = target;
        XDeleteProperty(f.Dpy, f.Utility, f.A.Transfer);
        XConvertSelection(f.Dpy, f.A.Clipboard, target, f.A.Transfer, f.Utility, CurrentTime);
        f.Flush();
        f.Kick();
        // A text in pieces may take longer than one time-out, as long as pieces keep coming.
        for (int progress = -1; f.RequestPending && progress != f.RequestProgress;) {
            progress = f.RequestProgress;
            f.Answered.wait_for(lock, kSelectionTimeOut,
                                [&] { return !f.RequestPending || progress != f.RequestProgress; });
        }
        f.RequestPending = false;
        f.RequestIncr = false;
        f.IncrReceived.clear();
        if (f.RequestResult)
            return target == XA_STRING ? Latin1ToUtf8(*f.RequestResult) : f.RequestResult;
    }
    return std::nullopt;
}

void TX11Backend::TImpl::HandleSelectionRequest(const XSelectionRequestEvent& AEvent)
{
    XSelectionEvent reply{};
    reply.type = SelectionNotify;
    reply.requestor = AEvent.requestor;
    reply.selection = AEvent.selection;
    reply.target = AEvent.target;
    reply.time = AEvent.time;
    reply.property = None;
    Atom property = AEvent.property != None ? AEvent.property : AEvent.target;  // an old client's request
    {
        std::lock_guard lock(Lock);
        if (AEvent.selection == A.Clipboard && OwnClipboard && AEvent.owner == Utility) {
            std::string text = ClipText.value_or(std::string());
            if (AEvent.target == A.Targets) {
                Atom targets[] = {A.Targets, A.Utf8String, XA_STRING, A.Text};
                XChangeProperty(Dpy, AEvent.requestor, property, XA_ATOM, 32, PropModeReplace,
                                reinterpret_cast<unsigned char*>(targets), 4);
                reply.property = property;
            } else if (AEvent.target == A.Utf8String || AEvent.target == A.Text || AEvent.target == XA_STRING) {
                bool latin = AEvent.target == XA_STRING;
                TIncrSend transfer{AEvent.requestor, property, latin ? XA_STRING : A.Utf8String,
                                   latin ? Utf8ToLatin1(text) : std::move(text), 0};
                if (transfer.Data.size() <= MaxPiece) {
                    XChangeProperty(Dpy, AEvent.requestor, property, transfer.Type, 8, PropModeReplace,
                                    reinterpret_cast<const unsigned char*>(transfer.Data.data()),
                                    static_cast<int>(transfer.Data.size()));
                } else {
                    // Too large for one request: announce the size, then a piece each time the requestor has
                    // taken (deleted) the last one.
                    XSelectInput(Dpy, AEvent.requestor, PropertyChangeMask | StructureNotifyMask);
                    long size = static_cast<long>(transfer.Data.size());
                    XChangeProperty(Dpy, AEvent.requestor, property, A.Incr, 32, PropModeReplace,
                                    reinterpret_cast<unsigned char*>(&size), 1);
                    Sending.push_back(std::move(transfer));
                }
                reply.property = property;
            }
        }
    }
    XSendEvent(Dpy, AEvent.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
    Flush();
}

void TX11Backend::TImpl::SendNextPiece(TIncrSend& ATransfer)
{
    size_t count = std::min(MaxPiece, ATransfer.Data.size() - ATransfer.Offset);
    XChangeProperty(Dpy, ATransfer.Requestor, ATransfer.Property, ATransfer.Type, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(ATransfer.Data.data() + ATransfer.Offset),
                    static_cast<int>(count));
    ATransfer.Offset += count;
    if (count == 0)
        ATransfer.Requestor = 0;  // the empty piece ends it
    Flush();
}

void TX11Backend::TImpl::HandlePropertyNotify(const XPropertyEvent& AEvent)
{
    if (AEvent.window == Utility && AEvent.atom == A.Transfer && AEvent.state == PropertyNewValue) {
        {
            std::lock_guard lock(Lock);
            if (!RequestPending || !RequestIncr)
                return;
        }
        Atom type = None;
        std::optional<std::string> piece = ReadProperty(Utility, A.Transfer, &type);
        XDeleteProperty(Dpy, Utility, A.Transfer);
        Flush();
        std::lock_guard lock(Lock);
        if (!RequestPending || !RequestIncr)
            return;
        ++RequestProgress;
        if (piece && !piece->empty()) {
            IncrReceived += *piece;
        } else {
            RequestResult = std::move(IncrReceived);
            IncrReceived.clear();
            RequestPending = false;
        }
        Answered.notify_all();
        return;
    }
    if (AEvent.state != PropertyDelete)
        return;
    std::lock_guard lock(Lock);
    for (TIncrSend& transfer : Sending)
        if (transfer.Requestor == AEvent.window && transfer.Property == AEvent.atom) {
            SendNextPiece(transfer);
            break;
        }
    std::erase_if(Sending, [](const TIncrSend& ATransfer) { return ATransfer.Requestor == 0; });
}

void TX11Backend::TImpl::HandleSelectionClear(const XSelectionClearEvent& AEvent)
{
    std::lock_guard lock(Lock);
    if (AEvent.selection == A.Clipboard && AEvent.window == Utility) {
        OwnClipboard = false;
        ClipText.reset();
    }
}

void TX11Backend::TImpl::HandleSelectionNotify(const XSelectionEvent& AEvent)
{
    if (AEvent.requestor != Utility)
        return;
    if (AEvent.selection == A.Clipboard) {
        std::optional<std::string> text;
        if (AEvent.property != None) {
            Atom type = None;
            text = ReadProperty(Utility, AEvent.property, &type);
            if (type == A.Incr) {
                // Pieces follow, each after we delete the last: deleting this one starts them.
                std::lock_guard lock(Lock);
                if (RequestPending && AEvent.target == RequestTarget) {
                    RequestIncr = true;
                    IncrReceived.clear();
                    ++RequestProgress;
                    Answered.notify_all();
                }
                XDeleteProperty(Dpy, Utility, AEvent.property);
                Flush();
                return;
            }
            XDeleteProperty(Dpy, Utility, AEvent.property);
        }
        std::lock_guard lock(Lock);
        if (RequestPending && AEvent.target == RequestTarget) {
            RequestResult = text;
            RequestPending = false;
            Answered.notify_all();
        }
        return;
    }
    if (AEvent.selection != A.XdndSelection)
        return;
    std::vector<std::string> paths;
    if (AEvent.property != None) {
        if (auto list = ReadProperty(Utility, AEvent.property))
            paths = PathsFromUriList(*list);
        XDeleteProperty(Dpy, Utility, AEvent.property);
    }
    Window source, target;
    TPoint point;
    {
        std::lock_guard lock(Lock);
        source = DragSource;
        target = DragTarget;
        point = DragPoint;
        DragSource = 0;
    }
    if (!source)
        return;
    bool taken = !paths.empty() && win::QueueFileDrop(point, paths);
    XEvent finished{};
    finished.xclient.type = ClientMessage;
    finished.xclient.window = source;
    finished.xclient.message_type = A.XdndFinished;
    finished.xclient.format = 32;
    finished.xclient.data.l[0] = static_cast<long>(target);
    finished.xclient.data.l[1] = taken ? 1 : 0;
    finished.xclient.data.l[2] = taken ? static_cast<long>(A.XdndActionCopy) : None;
    XSendEvent(Dpy, source, False, NoEventMask, &finished);
    Flush();
}

void TX11Backend::TImpl::HandleDnd(const XClientMessageEvent& AEvent)
{
    auto send = [&](Window ATo, Atom AType, long A1, long A2, long A3, long A4) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = ATo;
        event.xclient.message_type = AType;
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(AEvent.window);
        event.xclient.data.l[1] = A1;
        event.xclient.data.l[2] = A2;
        event.xclient.data.l[3] = A3;
        event.xclient.data.l[4] = A4;
        XSendEvent(Dpy, ATo, False, NoEventMask, &event);
        Flush();
    };
    auto source = static_cast<Window>(AEvent.data.l[0]);
    if (AEvent.message_type == A.XdndEnter) {
        std::vector<Atom> types;
        if (AEvent.data.l[1] & 1) {
            if (auto list = ReadProperty(source, A.XdndTypeList)) {
                const auto* atoms = reinterpret_cast<const long*>(list->data());
                types.assign(atoms, atoms + list->size() / sizeof(long));
            }
        } else {
            for (int i = 2; i <= 4; ++i)
                types.push_back(static_cast<Atom>(AEvent.data.l[i]));
        }
        std::lock_guard lock(Lock);
        DragSource = source;
        DragTarget = AEvent.window;
        DragVersion = (AEvent.data.l[1] >> 24) & 0xFF;
        DragOffersUris = std::find(types.begin(), types.end(), A.UriList) != types.end();
        return;
    }
    bool offers;
    {
        std::lock_guard lock(Lock);
        if (source != DragSource || !DragSource)
            return;
        offers = DragOffersUris;
        if (AEvent.message_type == A.XdndPosition)
            DragPoint = {static_cast<int>((AEvent.data.l[2] >> 16) & 0xFFFF), static_cast<int>(AEvent.data.l[2] & 0xFFFF)};
        if (AEvent.message_type == A.XdndLeave)
            DragSource = 0;
    }
    if (AEvent.message_type == A.XdndPosition) {
        // Bit 1 asks for a position message on every move: which window takes the files is decided at the drop.
        send(source, A.XdndStatus, offers ? 3 : 2, 0, 0, offers ? static_cast<long>(A.XdndActionCopy) : None);
    } else if (AEvent.message_type == A.XdndDrop) {
        if (!offers) {
            {
                std::lock_guard lock(Lock);
                DragSource = 0;
            }
            send(source, A.XdndFinished, 0, None, 0, 0);
            return;
        }
        Time time = DragVersion >= 1 ? static_cast<Time>(AEvent.data.l[2]) : CurrentTime;
        XConvertSelection(Dpy, A.XdndSelection, A.UriList, A.DropData, Utility, time);
        Flush();
    }
}

}  // namespace x11
