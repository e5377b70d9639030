/* Starts a program and reports when a screen region first shows at least N pixels of a
 * colour: "first paint" measured from outside the program, the same way for any program.
 * Usage: first_paint X Y W H RRGGBB N TIMEOUT_MS LOG -- PROGRAM ARGS...
 * Prints "<milliseconds> <pid>" and leaves the program running; exits 1 on time-out. */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static int count_colour(Display* display, Window root, int x, int y, int w, int h,
                        unsigned long colour) {
  XImage* image = XGetImage(display, root, x, y, w, h, AllPlanes, ZPixmap);
  if (!image) return 0;
  int found = 0;
  for (int row = 0; row < h; ++row)
    for (int col = 0; col < w; ++col)
      if ((XGetPixel(image, col, row) & 0xFFFFFF) == colour) ++found;
  XDestroyImage(image);
  return found;
}

int main(int argc, char** argv) {
  if (argc < 11 || strcmp(argv[9], "--") != 0) {
    fprintf(stderr, "usage: first_paint X Y W H RRGGBB N TIMEOUT_MS LOG -- PROGRAM ARGS...\n");
    return 2;
  }
  int x = atoi(argv[1]), y = atoi(argv[2]), w = atoi(argv[3]), h = atoi(argv[4]);
  unsigned long colour = strtoul(argv[5], NULL, 16);
  int wanted = atoi(argv[6]);
  double timeout = atof(argv[7]);
  Display* display = XOpenDisplay(NULL);
  if (!display) {
    fprintf(stderr, "cannot open the display\n");
    return 2;
  }
  Window root = DefaultRootWindow(display);
  if (count_colour(display, root, x, y, w, h, colour) >= wanted) {
    fprintf(stderr, "the region already shows the colour before the start\n");
    return 2;
  }
  double start = now_ms();
  pid_t pid = fork();
  if (pid == 0) {
    /* Wine's helpers inherit standard output: it goes to a file, never to our pipe. */
    int log = open(argv[8], O_WRONLY | O_CREAT | O_APPEND, 0644);
    int null_in = open("/dev/null", O_RDONLY);
    dup2(null_in, 0);
    dup2(log, 1);
    dup2(log, 2);
    close(ConnectionNumber(display));
    execvp(argv[10], argv + 10);
    _exit(127);
  }
  while (now_ms() - start < timeout) {
    if (count_colour(display, root, x, y, w, h, colour) >= wanted) {
      printf("%.1f %d\n", now_ms() - start, (int)pid);
      return 0;
    }
    usleep(1000);
  }
  printf("timeout %d\n", (int)pid);
  return 1;
}
