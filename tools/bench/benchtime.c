/* Times one start of a program for tools/bench.sh, disturbing it as little as possible.
 *
 *   benchtime window TITLE PROGRAM [ARGS...]
 *       seconds from the start until an X window titled TITLE is mapped, read from the
 *       display's own map events on one connection opened before the start (no polling);
 *       then prints the seconds and the program's process id, and leaves it running.
 *   benchtime exit PROGRAM [ARGS...]
 *       seconds from the start until the program has ended; a program that ends with an
 *       exit code other than 0 fails the measurement.
 *
 * A native Linux program (Xlib), built by tools/bench.sh. */
#define _POSIX_C_SOURCE 200809L
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <fcntl.h>
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
            if (event.type == MapNotify && titled(display, event.xmap.window, title))
                mapped = now();
        }
        int status;
        if (!mapped && (waitpid(pid, &status, WNOHANG) == pid || now() - begin > 30)) {
            fprintf(stderr, "benchtime: no window titled %s from %s\n", title, argv[0]);
            return 1;
        }
    }
    printf("%.6f %d\n", mapped - begin, (int)pid);
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
    fprintf(stderr, "usage: benchtime window TITLE PROGRAM [ARGS...] | exit PROGRAM [ARGS...]\n");
    return 2;
}
