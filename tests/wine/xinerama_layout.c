/* A stand-in for the X server's multi-monitor library, for the monitor tests: it reports the
 * monitors listed in the file named by MONITOR_LAYOUT, one "WIDTHxHEIGHT+X+Y" line each, the
 * first being the main one, over the one wide screen of the virtual display. The file is read
 * on every query, so a process started after it changed sees the new arrangement.
 *
 * Built for Wine's Linux processes, 32- or 64-bit as the test programs are, without any C
 * library headers: the few functions it calls are declared here and found in the process's C
 * library at run time. */

typedef struct {
  int screen_number;
  short x_org, y_org, width, height;
} ScreenInfo;

typedef __SIZE_TYPE__ size_t;
typedef __PTRDIFF_TYPE__ ssize_t;
extern char* getenv(const char* name);
extern int open(const char* path, int flags, ...);
extern ssize_t read(int fd, void* buffer, size_t count);
extern int close(int fd);
extern void* malloc(size_t size); /* the caller frees the list with XFree, which is free */

enum { MaxMonitors = 8, MaxFile = 1024 };

/* Reads a decimal number at *text, advancing past it; -1 when there is none. */
static int Number(const char** text) {
  const char* at = *text;
  int value = 0;
  if (*at < '0' || *at > '9') return -1;
  while (*at >= '0' && *at <= '9') value = value * 10 + (*at++ - '0');
  *text = at;
  return value;
}

/* A signed offset after its '+' or '-'. */
static int Offset(const char** text, int* value) {
  const char sign = **text;
  if (sign != '+' && sign != '-') return 0;
  ++*text;
  *value = Number(text);
  if (*value < 0) return 0;
  if (sign == '-') *value = -*value;
  return 1;
}

/* The monitors of the layout file; 0 when there is no usable file. */
static int ReadLayout(ScreenInfo* monitors) {
  const char* path = getenv("MONITOR_LAYOUT");
  char text[MaxFile + 1];
  int fd, length, count = 0;
  if (!path || (fd = open(path, 0)) < 0) return 0;
  length = read(fd, text, MaxFile);
  close(fd);
  if (length <= 0) return 0;
  text[length] = 0;
  for (const char* at = text; *at && count < MaxMonitors;) {
    int width, height, x, y;
    while (*at == '\n' || *at == ' ') ++at;
    if (!*at) break;
    width = Number(&at);
    if (*at++ != 'x') return 0;
    height = Number(&at);
    if (width <= 0 || height <= 0 || !Offset(&at, &x) || !Offset(&at, &y)) return 0;
    monitors[count] = (ScreenInfo){count, (short)x, (short)y, (short)width, (short)height};
    ++count;
  }
  return count;
}

int XineramaQueryExtension(void* display, int* event_base, int* error_base) {
  (void)display;
  *event_base = *error_base = 0;
  return 1;
}

int XineramaQueryVersion(void* display, int* major, int* minor) {
  (void)display;
  *major = 1;
  *minor = 1;
  return 1;
}

int XineramaIsActive(void* display) {
  ScreenInfo monitors[MaxMonitors];
  (void)display;
  return ReadLayout(monitors) > 0;
}

ScreenInfo* XineramaQueryScreens(void* display, int* number) {
  ScreenInfo monitors[MaxMonitors];
  ScreenInfo* list;
  const int count = ReadLayout(monitors);
  (void)display;
  *number = 0;
  if (!count || !(list = malloc(count * sizeof *list))) return 0;
  for (int i = 0; i < count; ++i) list[i] = monitors[i];
  *number = count;
  return list;
}
