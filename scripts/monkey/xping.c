/* Asks a window's program whether it still answers: sends it the window manager's ping
 * (_NET_WM_PING) and waits for the reply on the root window. A program whose event loop
 * is stuck never replies.
 * Usage: xping WINDOW MILLISECONDS; exit 0 answered, 1 no answer in time, 2 usage or no
 * display, 3 no such window (the program has closed it). */
#include <X11/Xlib.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static int gone(Display *display, XErrorEvent *error)
{
    (void)display;
    (void)error;
    exit(3);
}

static long now_ms(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000L + t.tv_nsec / 1000000L;
}

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: xping WINDOW MILLISECONDS\n");
        return 2;
    }
    const Window window = (Window)strtoul(argv[1], NULL, 0);
    const long limit = atol(argv[2]);
    Display *display = XOpenDisplay(NULL);
    if (!display)
        return 2;
    XSetErrorHandler(gone);
    const Window root = DefaultRootWindow(display);
    const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    const Atom ping = XInternAtom(display, "_NET_WM_PING", False);
    /* The reply goes to the root window with the (sub)structure masks; taken only with
     * both selected here. */
    XSelectInput(display, root, StructureNotifyMask | SubstructureNotifyMask);

    const long stamp = (long)(now_ms() & 0x7fffffff);
    XEvent event = {0};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)ping;
    event.xclient.data.l[1] = stamp;
    event.xclient.data.l[2] = (long)window;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);

    const long deadline = now_ms() + limit;
    for (;;) {
        while (XPending(display)) {
            XEvent reply;
            XNextEvent(display, &reply);
            if (reply.type == ClientMessage && reply.xclient.message_type == protocols &&
                (Atom)reply.xclient.data.l[0] == ping && reply.xclient.data.l[1] == stamp &&
                (Window)reply.xclient.data.l[2] == window) {
                XCloseDisplay(display);
                return 0;
            }
        }
        const long left = deadline - now_ms();
        if (left <= 0)
            break;
        struct pollfd wait = {ConnectionNumber(display), POLLIN, 0};
        poll(&wait, 1, (int)left);
    }
    XCloseDisplay(display);
    return 1;
}
