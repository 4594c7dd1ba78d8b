/* Test infrastructure only, never part of the product.
 *
 * Preloaded (LD_PRELOAD) into Wine by scripts/nullmodem.sh. A pty has no
 * modem lines, so ioctl(TIOCMGET) on it fails with ENOTTY, and Wine's
 * WaitCommEvent gives up at once when it cannot read them. On a terminal
 * whose TIOCMGET fails that way, answer what a real null-modem cable shows:
 * CTS, DSR and CD on. Every other call goes to the real ioctl untouched. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <stdarg.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

typedef int (*ioctl_fn)(int, unsigned long, ...);

static int answer(ioctl_fn real_ioctl, int fd, unsigned long request, void *arg) {
  int result = real_ioctl(fd, request, arg);
  int saved;
  if (result == 0 || request != TIOCMGET || arg == NULL) return result;
  saved = errno;
  if ((saved == ENOTTY || saved == EINVAL) && isatty(fd)) {
    *(int *)arg = TIOCM_CTS | TIOCM_DSR | TIOCM_CD;
    errno = 0;
    return 0;
  }
  errno = saved;
  return result;
}

int ioctl(int fd, unsigned long request, ...) {
  static ioctl_fn real_ioctl;
  va_list args;
  void *arg;

  va_start(args, request);
  arg = va_arg(args, void *);
  va_end(args);
  if (real_ioctl == NULL) real_ioctl = (ioctl_fn)dlsym(RTLD_NEXT, "ioctl");
  return answer(real_ioctl, fd, request, arg);
}

#ifndef __LP64__
/* 32-bit programs built with a 64-bit time_t (32-bit Wine among them) call
 * ioctl under this name. */
int __ioctl_time64(int fd, unsigned long request, ...) {
  static ioctl_fn real_ioctl;
  va_list args;
  void *arg;

  va_start(args, request);
  arg = va_arg(args, void *);
  va_end(args);
  if (real_ioctl == NULL) real_ioctl = (ioctl_fn)dlsym(RTLD_NEXT, "__ioctl_time64");
  return answer(real_ioctl, fd, request, arg);
}
#endif
