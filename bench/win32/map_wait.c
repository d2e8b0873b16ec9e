/* Launches a command and prints the milliseconds until a window titled TITLE
   is mapped on the X display: the start-up figure of startup_bench.sh. It
   listens for the display's events instead of polling, so it costs the
   measured program no processor time while it starts. Prints the figure, the
   launched process's id (the Wine process that runs the program) and the
   processor time that process has used by then, in milliseconds (on a busy
   machine the clock figure is mostly waiting for a processor; this one is
   not), as soon as the window shows, and exits, leaving the program running for the caller
   to end; killed by its alarm when no such window shows within 60 seconds.
   Built by startup_bench.sh with the host compiler:
     cc -O2 -o map_wait map_wait.c -lX11
   Usage: map_wait TITLE COMMAND [ARGS...] */
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static int ignore_errors(Display* display, XErrorEvent* error)
{
    (void)display;
    (void)error;
    return 0; /* a window may vanish between its event and our query */
}

/* User plus system time of process `pid`, from /proc, in milliseconds. */
static double cpu_ms(pid_t pid)
{
    char path[64], text[1024];
    snprintf(path, sizeof path, "/proc/%d/stat", (int)pid);
    FILE* file = fopen(path, "r");
    if (file == NULL) return -1;
    size_t n = fread(text, 1, sizeof text - 1, file);
    fclose(file);
    text[n] = '\0';
    /* Fields after the command name, which is in parentheses and may hold blanks. */
    const char* p = strrchr(text, ')');
    unsigned long user = 0, system = 0;
    if (p == NULL || sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &user, &system) != 2)
        return -1;
    return (user + system) * 1000.0 / sysconf(_SC_CLK_TCK);
}

static double now_ms(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

/* True when the window is viewable and titled `title`. */
static int is_target(Display* display, Window window, const char* title)
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable) return 0;
    char* name = NULL;
    int same = XFetchName(display, window, &name) && name != NULL && strcmp(name, title) == 0;
    if (name != NULL) XFree(name);
    return same;
}

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: map_wait TITLE COMMAND [ARGS...]\n");
        return 2;
    }
    const char* title = argv[1];
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "map_wait: no display\n");
        return 2;
    }
    XSetErrorHandler(ignore_errors);
    Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const double start = now_ms();
    pid_t child = fork();
    if (child == 0) {
        int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(null, 1);
        dup2(null, 2);
        close(ConnectionNumber(display));
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    if (child < 0) return 2;
    alarm(60);

    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        Window window = 0;
        if (event.type == CreateNotify) {
            /* The title may be set after the window is mapped: watch it. */
            XSelectInput(display, event.xcreatewindow.window, PropertyChangeMask);
        } else if (event.type == MapNotify) {
            window = event.xmap.window;
        } else if (event.type == PropertyNotify && event.xproperty.atom == XA_WM_NAME) {
            window = event.xproperty.window;
        }
        if (window != 0 && is_target(display, window, title)) {
            const double elapsed = now_ms() - start;
            printf("%.0f %d %.0f\n", elapsed, (int)child, cpu_ms(child));
            return 0;
        }
    }
}
