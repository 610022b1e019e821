// Start-up time of the real editor: from starting the process to its main window showing the
// map. Run under Xvfb with a black root window (bench/run_startup.sh). Being mapped is not
// being shown: the window is mapped before its first paint, and the map (its sheets, the
// picture) is drawn after that, so the time to the map notification alone (reported as
// "mapped_ms") is far too short.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <benchmark/benchmark.h>

#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char* const kTitle = "ケステルゾルテア マップエディタ";

std::string windowName(Display* d, ::Window w) {
    Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    Atom netName = XInternAtom(d, "_NET_WM_NAME", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    std::string name;
    if (XGetWindowProperty(d, w, netName, 0, 1024, False, utf8, &type, &format, &count, &after,
                           &data) == Success &&
        data) {
        name.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
    }
    return name;
}

// Whether a strip across the middle of the window holds more than one colour: the map has
// been painted (before that the window is its plain background).
bool painted(Display* d, ::Window w) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, w, &a) || a.map_state != IsViewable || a.width < 64) return false;
    XImage* strip =
        XGetImage(d, w, a.width / 4, a.height / 2, unsigned(a.width / 2), 1, AllPlanes, ZPixmap);
    if (!strip) return false;
    bool varied = false;
    const unsigned long first = XGetPixel(strip, 0, 0);
    for (int x = 1; x < a.width / 2 && !varied; ++x) varied = XGetPixel(strip, x, 0) != first;
    XDestroyImage(strip);
    return varied;
}

void sendClose(Display* d, ::Window w) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    XSendEvent(d, w, False, NoEventMask, &e);
    XFlush(d);
}

// Short-lived windows (a tool window created and replaced while the frame is laid out) may be
// gone by the time their title is asked for; that error is no reason to stop.
int ignoreError(Display*, XErrorEvent*) {
    return 0;
}

void BM_StartupToMainWindow(benchmark::State& state) {
    const char* exe = std::getenv("KV_EDITOR");
    XSetErrorHandler(ignoreError);
    // The server may refuse a connection for a moment while the last editor's are torn down.
    Display* d = XOpenDisplay(nullptr);
    for (int tries = 0; !d && tries < 100; ++tries) {
        usleep(20000);
        d = XOpenDisplay(nullptr);
    }
    if (!exe || !d) {
        state.SkipWithError("needs KV_EDITOR and a display");
        return;
    }
    XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
    double mappedMs = 0;
    int runs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const pid_t pid = fork();
        if (pid == 0) {
            execl(exe, exe, static_cast<char*>(nullptr));
            _exit(127);
        }
        ::Window shown = 0;
        while (!shown) {
            XEvent e;
            XNextEvent(d, &e);
            if (e.type == MapNotify) {
                // Qt maps its top-level windows as children of the root; the title comes
                // with the window.
                if (windowName(d, e.xmap.window).find(kTitle) != std::string::npos)
                    shown = e.xmap.window;
            }
        }
        const auto mapped = std::chrono::steady_clock::now();
        while (!painted(d, shown) &&
               std::chrono::steady_clock::now() - mapped < std::chrono::seconds(10))
            usleep(1000);
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        mappedMs += std::chrono::duration<double, std::milli>(mapped - start).count();
        ++runs;
        sendClose(d, shown);
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "the editor ended with status %d\n", status);
            state.SkipWithError("the editor did not exit with code 0");
            break;
        }
    }
    if (runs > 0) state.counters["mapped_ms"] = mappedMs / runs;
    XCloseDisplay(d);
}
BENCHMARK(BM_StartupToMainWindow)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->Repetitions(3)
    ->ReportAggregatesOnly(false);

}  // namespace

BENCHMARK_MAIN();
