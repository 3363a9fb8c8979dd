#include "platform/Platform.h"

#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {

const DesktopSize fallbackSize = {1280, 720};

// Runs a dialog program and waits for it; returns false when it could not run.
bool runDialog(const char* const* argv)
{
    pid_t pid;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0)
        return false;
    int status = 0;
    if (waitpid(pid, &status, 0) < 0)
        return false;
    // A shell-style 127 means the program was not found.
    return !(WIFEXITED(status) && WEXITSTATUS(status) == 127);
}

} // namespace

DesktopSize desktopSize()
{
    bool wasInitialised = SDL_WasInit(SDL_INIT_VIDEO) != 0;
    if (!wasInitialised && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return fallbackSize;
    DesktopSize size = fallbackSize;
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    if (info && info->current_w > 0 && info->current_h > 0) {
        size.width = info->current_w;
        size.height = info->current_h;
    }
    if (!wasInitialised)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return size;
}

int windowScale(int logicalWidth, int logicalHeight, DesktopSize desktop)
{
    int scale = 1;
    if (logicalWidth <= 0 || logicalHeight <= 0)
        return scale;
    while (logicalWidth * (scale + 1) < desktop.width && logicalHeight * (scale + 1) < desktop.height)
        scale++;
    return scale;
}

bool showErrorBox(const char* title, const char* text)
{
    std::fprintf(stderr, "%s: %s", title, text);
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display)
        return false;
    const char* zenity[] = {"zenity", "--error", "--no-markup", "--title", title, "--text", text, nullptr};
    if (runDialog(zenity))
        return true;
    const char* xmessage[] = {"xmessage", "-center", "-title", title, text, nullptr};
    return runDialog(xmessage);
}

void hideCursor()
{
    SDL_ShowCursor(SDL_DISABLE);
}

unsigned ticks()
{
    return SDL_GetTicks();
}

unsigned long long preciseTicks()
{
    using namespace std::chrono;
    return (unsigned long long)duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void sleepMilliseconds(unsigned milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void sleepMicroseconds(unsigned long long microseconds)
{
    std::this_thread::sleep_for(std::chrono::microseconds(microseconds));
}

void waitForFrame(unsigned long long& last, int frameTime, unsigned long long (*clock)(),
                  void (*sleep)(unsigned long long))
{
    const unsigned long long deadline = last + (frameTime > 0 ? 1000ULL * unsigned(frameTime) : 0ULL);
    unsigned long long now = clock();
    while (now < deadline) {
        sleep(deadline - now);
        now = clock();
    }
    last = now;
}
