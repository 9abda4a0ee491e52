// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Starts a program on an X display and reports, as the X server sees it, when its windows are first
// drawn on screen, then the program's resident and private memory once the last awaited window is up.
//
//   sentinella FINESTRE ATTESA_MS PROGRAMMA [ARGOMENTI...]
//
// Prints one line: "<ms to the first window drawn> <ms to window FINESTRE drawn> <Rss kB>
// <private dirty kB> <peak Rss kB>". The memory is read from /proc/PID/smaps_rollup ATTESA_MS
// milliseconds after window FINESTRE was drawn, with the highest resident memory the program had
// reached until then (VmHWM of /proc/PID/status), then the program is ended with SIGTERM. Private
// dirty memory is what the process alone has written to (heap, pictures, relocated data); Rss adds
// every page of its libraries that it has mapped.
//
// Why the X server and not a marker inside the program: a window is on screen when the server has
// mapped it and the program has put its pixels into it. Watching the root window's children tells
// when a top-level window is created and mapped; a Damage object on each new window tells when the
// program's first frame lands in it (Qt gives its windows no background, so the server itself paints
// nothing there). Both programs compared are measured the same way, without a line of code of ours in
// either. The clock starts just before the program is spawned.

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <string>

extern char **environ;

namespace
{

using Orologio = std::chrono::steady_clock;

double Millisecondi(Orologio::time_point da, Orologio::time_point a)
{
    return std::chrono::duration<double, std::milli>(a - da).count();
}

// Sums of the memory lines of smaps_rollup that start with the given names, in kB.
long MemoriaKb(pid_t pid, std::initializer_list<const char *> voci)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/smaps_rollup");
    std::string riga;
    long totale = 0;
    while (std::getline(file, riga))
        for (const char *voce : voci)
            if (riga.rfind(std::string(voce) + ":", 0) == 0)
                totale += std::strtol(riga.c_str() + std::strlen(voce) + 1, nullptr, 10);
    return totale;
}

// The highest resident memory of the process so far, in kB.
long PiccoKb(pid_t pid)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/status");
    std::string riga;
    while (std::getline(file, riga))
        if (riga.rfind("VmHWM:", 0) == 0)
            return std::strtol(riga.c_str() + 6, nullptr, 10);
    return 0;
}

// A window can be gone before its Damage object is made: that is no reason to stop.
int IgnoraErrore(Display *, XErrorEvent *)
{
    return 0;
}

bool Finito(pid_t pid)
{
    int stato = 0;
    return waitpid(pid, &stato, WNOHANG) == pid;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "uso: %s FINESTRE ATTESA_MS PROGRAMMA [ARGOMENTI...]\n", argv[0]);
        return 2;
    }
    const int finestreAttese = std::atoi(argv[1]);
    const int attesaMs = std::atoi(argv[2]);

    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "sentinella: nessun display\n");
        return 2;
    }
    int eventoDamage = 0, erroreDamage = 0;
    if (!XDamageQueryExtension(display, &eventoDamage, &erroreDamage)) {
        std::fprintf(stderr, "sentinella: il server X non ha l'estensione DAMAGE\n");
        return 2;
    }
    XSetErrorHandler(IgnoraErrore);
    const Window radice = DefaultRootWindow(display);
    XSelectInput(display, radice, SubstructureNotifyMask);
    XSync(display, False);

    const Orologio::time_point inizio = Orologio::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[3], nullptr, nullptr, argv + 3, environ) != 0) {
        std::fprintf(stderr, "sentinella: impossibile avviare %s\n", argv[3]);
        return 2;
    }

    std::set<Window> mappate;
    std::set<Window> disegnate;
    double primaMs = -1, ultimaMs = -1;
    const int connessione = ConnectionNumber(display);
    while (static_cast<int>(disegnate.size()) < finestreAttese) {
        if (!XPending(display)) {
            pollfd attesa{connessione, POLLIN, 0};
            poll(&attesa, 1, 100);
            if (Finito(pid)) {
                std::fprintf(stderr, "sentinella: il programma è terminato prima delle sue finestre\n");
                return 1;
            }
            if (Millisecondi(inizio, Orologio::now()) > 60000) {
                std::fprintf(stderr, "sentinella: nessuna finestra in 60 s\n");
                kill(pid, SIGKILL);
                waitpid(pid, nullptr, 0);
                return 1;
            }
            continue;
        }
        XEvent evento;
        XNextEvent(display, &evento);
        const Orologio::time_point adesso = Orologio::now();
        if (evento.type == CreateNotify && evento.xcreatewindow.parent == radice) {
            XDamageCreate(display, evento.xcreatewindow.window, XDamageReportNonEmpty);
        } else if (evento.type == MapNotify && evento.xmap.event == radice) {
            mappate.insert(evento.xmap.window);
        } else if (evento.type == eventoDamage + XDamageNotify) {
            const auto *danno = reinterpret_cast<XDamageNotifyEvent *>(&evento);
            XDamageSubtract(display, danno->damage, None, None);
            if (mappate.count(danno->drawable) && disegnate.insert(danno->drawable).second) {
                if (primaMs < 0)
                    primaMs = Millisecondi(inizio, adesso);
                ultimaMs = Millisecondi(inizio, adesso);
            }
        }
    }

    usleep(static_cast<useconds_t>(attesaMs) * 1000);
    const long rss = MemoriaKb(pid, {"Rss"});
    const long privata = MemoriaKb(pid, {"Private_Dirty"});
    const long picco = PiccoKb(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    XCloseDisplay(display);
    std::printf("%.2f %.2f %ld %ld %ld\n", primaMs, ultimaMs, rss, privata, picco);
    return rss > 0 ? 0 : 1;
}
