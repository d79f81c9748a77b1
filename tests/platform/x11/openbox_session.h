#pragma once
// A real window manager (openbox) on the test's X display for as long as the object lives: started as a child
// process with a configuration of its own, ready once it owns the display's window-manager selection, and
// ended when the object goes (the selection is then free for the next test). The helpers send what a panel or
// the user's window-manager actions would send: activate (restore), close, iconify, maximize.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace x11test {

class TOpenboxSession {
public:
    // AConfigFolder receives the configuration file (keyboard bindings left out, so that keys reach the
    // program). The session talks to the display ($DISPLAY) through a connection of its own.
    explicit TOpenboxSession(const std::filesystem::path& AConfigFolder) : FDisplay(XOpenDisplay(nullptr))
    {
        if (!FDisplay) return;
        std::filesystem::create_directories(AConfigFolder);
        const std::filesystem::path rc = AConfigFolder / "rc.xml";
        std::ofstream(rc) << "<?xml version=\"1.0\"?>\n"
                             "<openbox_config xmlns=\"http://openbox.org/3.4/rc\">\n"
                             "  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>\n"
                             "  <placement><policy>Smart</policy></placement>\n"
                             "  <desktops><number>1</number></desktops>\n"
                             "  <keyboard></keyboard>\n"
                             "</openbox_config>\n";
        const std::string screen = "WM_S" + std::to_string(DefaultScreen(FDisplay));
        FSelection = XInternAtom(FDisplay, screen.c_str(), False);
        if (XGetSelectionOwner(FDisplay, FSelection) != None) return;  // someone else's manager is running
        FPid = fork();
        if (FPid == 0) {
            // A clean start: none of the test's signal mask or descriptors (its own X connections) go along.
            sigset_t none;
            sigemptyset(&none);
            sigprocmask(SIG_SETMASK, &none, nullptr);
            for (int fd = 3; fd < 1024; ++fd) close(fd);
            const std::string config = rc.string();
            execlp("openbox", "openbox", "--sm-disable", "--config-file", config.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < end && !Running()) {
            if (waitpid(FPid, nullptr, WNOHANG) == FPid) {
                FPid = -1;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        // The manager sets up its root properties right after taking the selection: let it finish.
        const Atom check = XInternAtom(FDisplay, "_NET_SUPPORTING_WM_CHECK", False);
        while (std::chrono::steady_clock::now() < end && !RootHas(check))
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ~TOpenboxSession()
    {
        Stop();
        if (FDisplay) XCloseDisplay(FDisplay);
    }
    void Stop()
    {
        if (FPid <= 0) return;
        kill(FPid, SIGTERM);
        waitpid(FPid, nullptr, 0);
        // Ours until the selection is free again, so that the next test starts without a manager.
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < end && XGetSelectionOwner(FDisplay, FSelection) != None)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        FPid = -1;
    }
    TOpenboxSession(const TOpenboxSession&) = delete;
    TOpenboxSession& operator=(const TOpenboxSession&) = delete;

    bool Running() const
    {
        if (!FDisplay) return false;
        XSync(FDisplay, False);
        return FPid > 0 && XGetSelectionOwner(FDisplay, FSelection) != None;
    }

    // _NET_ACTIVE_WINDOW from a pager: raises, focuses and, for an iconified window, restores it.
    void Activate(Window AWindow) { SendRoot(AWindow, "_NET_ACTIVE_WINDOW", {2, CurrentTime, 0, 0, 0}); }
    // _NET_CLOSE_WINDOW: the manager asks the window to close (WM_DELETE_WINDOW).
    void Close(Window AWindow) { SendRoot(AWindow, "_NET_CLOSE_WINDOW", {CurrentTime, 2, 0, 0, 0}); }
    // WM_CHANGE_STATE to iconic, as the manager's own minimize.
    void Iconify(Window AWindow) { XIconifyWindow(FDisplay, AWindow, DefaultScreen(FDisplay)); XSync(FDisplay, False); }
    void Maximize(Window AWindow)
    {
        const Atom horz = XInternAtom(FDisplay, "_NET_WM_STATE_MAXIMIZED_HORZ", False);
        const Atom vert = XInternAtom(FDisplay, "_NET_WM_STATE_MAXIMIZED_VERT", False);
        SendRoot(AWindow, "_NET_WM_STATE", {1, static_cast<long>(horz), static_cast<long>(vert), 2, 0});
    }
    // ICCCM WM_STATE of a client window: 1 normal, 3 iconic, 0 withdrawn (or none).
    long WmState(Window AWindow) const
    {
        const Atom state = XInternAtom(FDisplay, "WM_STATE", False);
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        long result = 0;
        if (XGetWindowProperty(FDisplay, AWindow, state, 0, 2, False, state, &type, &format, &count, &after, &data) ==
                Success &&
            data && count >= 1)
            result = reinterpret_cast<long*>(data)[0];
        if (data) XFree(data);
        return result;
    }
    // The managed client windows (_NET_CLIENT_LIST).
    std::vector<Window> Clients() const
    {
        const Atom list = XInternAtom(FDisplay, "_NET_CLIENT_LIST", False);
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        std::vector<Window> result;
        if (XGetWindowProperty(FDisplay, DefaultRootWindow(FDisplay), list, 0, 1024, False, XA_WINDOW, &type, &format,
                               &count, &after, &data) == Success &&
            data)
            for (unsigned long i = 0; i < count; ++i) result.push_back(reinterpret_cast<Window*>(data)[i]);
        if (data) XFree(data);
        return result;
    }

private:
    bool RootHas(Atom AProperty) const
    {
        int count = 0;
        Atom* atoms = XListProperties(FDisplay, DefaultRootWindow(FDisplay), &count);
        bool found = false;
        for (int i = 0; i < count; ++i) found = found || atoms[i] == AProperty;
        if (atoms) XFree(atoms);
        return found;
    }
    void SendRoot(Window AWindow, const char* AType, std::vector<long> AData)
    {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = AWindow;
        event.xclient.message_type = XInternAtom(FDisplay, AType, False);
        event.xclient.format = 32;
        for (size_t i = 0; i < AData.size() && i < 5; ++i) event.xclient.data.l[i] = AData[i];
        XSendEvent(FDisplay, DefaultRootWindow(FDisplay), False, SubstructureRedirectMask | SubstructureNotifyMask,
                   &event);
        XSync(FDisplay, False);
    }

    Display* FDisplay;
    Atom FSelection = None;
    pid_t FPid = -1;
};

}  // namespace x11test
