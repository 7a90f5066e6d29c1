/* Times one start of a program for tools/bench.sh, disturbing it as little as possible.
 *
 *   benchtime window TITLE PROGRAM [ARGS...]
 *       seconds from the start until an X window titled TITLE is mapped, read from the
 *       display's own map events on one connection opened before the start (no polling);
 *       then prints the seconds and the program's process id, and leaves it running.
 *   benchtime exit PROGRAM [ARGS...]
 *       seconds from the start until the program has ended; a program that ends with an
 *       exit code other than 0 fails the measurement.
 *   benchtime frames TITLE PROGRAM [ARGS...]
 *   benchtime frames TITLE
 *       as `window` (the second form starts nothing and waits for a window of another
 *       program), then reads the window's pixels as fast as the display gives them until
 *       they have not changed for a second: prints the seconds to the map, the seconds to
 *       the first frame equal to the last one (the finished window), the number of frames
 *       read, the number of distinct frames that are neither black, nor what the screen
 *       showed there before the window came (X shows it until the window is drawn), nor the
 *       finished window, and the process id (0 when none was started).
 *
 * A native Linux program (Xlib), built by tools/bench.sh. */
#define _POSIX_C_SOURCE 200809L
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <fcntl.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

static pid_t start(char** argv) {
    pid_t pid = fork();
    if (pid == 0) {
        /* The program and what it starts may outlive this one: they must not hold its output,
           or a caller reading that output would wait for them. */
        int nothing = open("/dev/null", O_RDWR);
        dup2(nothing, 0);
        dup2(nothing, 1);
        dup2(nothing, 2);
        execvp(argv[0], argv);
        perror(argv[0]);
        _exit(127);
    }
    return pid;
}

/* Wine names the X window after the Windows window's title before mapping it. */
static int titled(Display* display, Window window, const char* title) {
    char* name = NULL;
    int same = XFetchName(display, window, &name) && name && strcmp(name, title) == 0;
    if (name)
        XFree(name);
    return same;
}

/* Waits for the map of a window titled `title`, started at `begin`; gives the time of the
   map (0 when the program died or 30 seconds passed) and the window. */
static double waitForMap(Display* display, const char* title, pid_t pid, double begin,
                         Window* window) {
    double mapped = 0;
    while (!mapped) {
        /* Waits for the next events, looking up now and then whether the program died. */
        struct timeval tick = {0, 100000};
        fd_set connection;
        FD_ZERO(&connection);
        FD_SET(ConnectionNumber(display), &connection);
        if (!XPending(display))
            select(ConnectionNumber(display) + 1, &connection, NULL, NULL, &tick);
        while (!mapped && XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && titled(display, event.xmap.window, title)) {
                mapped = now();
                *window = event.xmap.window;
            }
        }
        int status;
        if (!mapped && ((pid && waitpid(pid, &status, WNOHANG) == pid) || now() - begin > 30)) {
            fprintf(stderr, "benchtime: no window titled %s\n", title);
            return 0;
        }
    }
    return mapped;
}

static int timeWindow(const char* title, char** argv) {
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "benchtime: no X display\n");
        return 1;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    double begin = now();
    pid_t pid = start(argv);
    Window window;
    double mapped = waitForMap(display, title, pid, begin, &window);
    if (!mapped)
        return 1;
    printf("%.6f %d\n", mapped - begin, (int)pid);
    XCloseDisplay(display);
    return 0;
}

static int ignoreErrors(Display* display, XErrorEvent* error) {
    (void)display;
    (void)error;
    return 0;
}

/* FNV-1a over the colours of an image's pixels; black tells whether every one is 0. */
static uint64_t hashImage(XImage* image, int* black) {
    uint64_t hash = 1469598103934665603ull;
    uint32_t any = 0;
    for (int y = 0; y < image->height; ++y) {
        if (image->bits_per_pixel == 32) {
            const uint32_t* row = (const uint32_t*)(image->data + (size_t)y * image->bytes_per_line);
            for (int x = 0; x < image->width; ++x) {
                uint32_t colour = row[x] & 0xFFFFFFu;
                any |= colour;
                hash = (hash ^ colour) * 1099511628211ull;
            }
        } else {
            for (int x = 0; x < image->width; ++x) {
                uint32_t colour = (uint32_t)(XGetPixel(image, x, y) & 0xFFFFFFul);
                any |= colour;
                hash = (hash ^ colour) * 1099511628211ull;
            }
        }
    }
    *black = any == 0;
    return hash;
}

#define MAX_FRAMES 20000

/* The same hash over the part of a screen image that a window of that size covers at
   (left, top); 0 when it lies partly off the screen. */
static uint64_t hashScreenPart(XImage* screen, int left, int top, int width, int height) {
    if (!screen || left < 0 || top < 0 || left + width > screen->width ||
        top + height > screen->height)
        return 0;
    XImage* part = XSubImage(screen, left, top, (unsigned)width, (unsigned)height);
    if (!part)
        return 0;
    int black;
    uint64_t hash = hashImage(part, &black);
    XDestroyImage(part);
    return hash;
}

#define MAX_FRAMES 20000

static int watchFrames(const char* title, char** argv) {
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "benchtime: no X display\n");
        return 1;
    }
    XSetErrorHandler(ignoreErrors);
    Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XWindowAttributes screenSize;
    XGetWindowAttributes(display, root, &screenSize);
    /* What the screen shows before the window comes. */
    XImage* before = XGetImage(display, root, 0, 0, screenSize.width, screenSize.height,
                               AllPlanes, ZPixmap);
    XSync(display, False);
    double begin = now();
    pid_t pid = argv[0] ? start(argv) : 0;
    Window window = 0;
    double mapped = waitForMap(display, title, pid, begin, &window);
    if (!mapped)
        return 1;

    static uint64_t hashes[MAX_FRAMES];
    static uint64_t beneath[MAX_FRAMES];
    static double times[MAX_FRAMES];
    static int blacks[MAX_FRAMES];
    int frames = 0;
    double changed = mapped;
    while (frames < MAX_FRAMES && now() - changed < 1.0 && now() - mapped < 20) {
        XWindowAttributes attributes;
        int left, top;
        Window child;
        if (!XGetWindowAttributes(display, window, &attributes) ||
            !XTranslateCoordinates(display, window, root, 0, 0, &left, &top, &child))
            break;
        XImage* image = XGetImage(display, window, 0, 0, attributes.width, attributes.height,
                                  AllPlanes, ZPixmap);
        double at = now();
        if (!image)
            continue; /* not viewable yet, or resized meanwhile */
        hashes[frames] = hashImage(image, &blacks[frames]);
        times[frames] = at;
        XDestroyImage(image);
        if (frames == 0 || hashes[frames] != hashes[frames - 1]) {
            changed = at;
            beneath[frames] = hashScreenPart(before, left, top, attributes.width, attributes.height);
        } else {
            beneath[frames] = beneath[frames - 1];
        }
        ++frames;
    }
    if (frames == 0) {
        fprintf(stderr, "benchtime: no frame of %s could be read\n", title);
        return 1;
    }
    uint64_t finished = hashes[frames - 1];
    double firstFinished = times[frames - 1];
    for (int i = 0; i < frames; ++i) {
        if (hashes[i] == finished) {
            firstFinished = times[i];
            break;
        }
    }
    int others = 0;
    for (int i = 0; i < frames; ++i) {
        if (blacks[i] || hashes[i] == finished || hashes[i] == beneath[i])
            continue;
        int seen = 0;
        for (int j = 0; j < i && !seen; ++j)
            seen = hashes[j] == hashes[i];
        others += !seen;
    }
    printf("%.6f %.6f %d %d %d\n", mapped - begin, firstFinished - begin, frames, others, (int)pid);
    if (before)
        XDestroyImage(before);
    XCloseDisplay(display);
    return 0;
}

static int timeExit(char** argv) {
    double begin = now();
    pid_t pid = start(argv);
    int status = 0;
    waitpid(pid, &status, 0);
    double taken = now() - begin;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        fprintf(stderr, "benchtime: %s failed (status %d)\n", argv[0], status);
        return 1;
    }
    printf("%.6f\n", taken);
    return 0;
}

int main(int argc, char** argv) {
    if (argc >= 4 && strcmp(argv[1], "window") == 0)
        return timeWindow(argv[2], argv + 3);
    if (argc >= 3 && strcmp(argv[1], "exit") == 0)
        return timeExit(argv + 2);
    if (argc >= 3 && strcmp(argv[1], "frames") == 0)
        return watchFrames(argv[2], argv + 3);
    fprintf(stderr, "usage: benchtime window TITLE PROGRAM [ARGS...] | exit PROGRAM [ARGS...] | "
                    "frames TITLE [PROGRAM [ARGS...]]\n");
    return 2;
}
