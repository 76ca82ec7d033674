#include "platform/sdl/sdl_signals.h"

#include <SDL.h>
#include <csignal>
#include <unistd.h>

namespace {

// A signal handler can only reach flags of static storage.
volatile std::sig_atomic_t signalled = 0;
volatile std::sig_atomic_t box_shown = 0;

extern "C" void on_quit_signal(int signo)
{
    if (box_shown) _exit(128 + signo);
    signalled = signo;
}

}  // namespace

void install_quit_signals()
{
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    struct sigaction action {};
    action.sa_handler = on_quit_signal;
    sigemptyset(&action.sa_mask);
    // Calls under way in SDL and the X libraries go on rather than fail.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int quit_signal() { return signalled; }

void message_box_shown(bool shown) { box_shown = shown ? 1 : 0; }
