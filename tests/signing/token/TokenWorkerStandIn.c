/* Stands in for velk-token-worker in the client's tests: reads the frame
 * (or not) and answers the way VELK_STAND_IN_MODE says. Writes its process
 * id to VELK_STAND_IN_PIDFILE when that is set. */

#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static int mode(const char *name)
{
    const char *chosen = getenv("VELK_STAND_IN_MODE");
    return chosen != NULL && strcmp(chosen, name) == 0;
}

static void writeAll(int fd, const char *data, size_t size)
{
    while (size > 0) {
        ssize_t written = write(fd, data, size);
        if (written <= 0)
            return;
        data += written;
        size -= (size_t)written;
    }
}

static void sleepForever(void)
{
    for (;;)
        pause();
}

int main(void)
{
    const char *pidFile = getenv("VELK_STAND_IN_PIDFILE");
    if (pidFile != NULL) {
        FILE *file = fopen(pidFile, "w");
        if (file != NULL) {
            fprintf(file, "%d", (int)getpid());
            fclose(file);
        }
    }
    if (mode("noread"))
        sleepForever();
    if (mode("exitnow"))
        return 0;

    static unsigned char frame[300000];
    size_t size = 0;
    ssize_t got;
    while (size < sizeof frame && (got = read(0, frame + size, sizeof frame - size)) > 0)
        size += (size_t)got;

    if (mode("echo")) {
        writeAll(1, "{\"ok\":true,\"frame\":\"", 20);
        for (size_t i = 0; i < size; ++i) {
            char hex[3];
            snprintf(hex, sizeof hex, "%02x", frame[i]);
            writeAll(1, hex, 2);
        }
        writeAll(1, "\"}", 2);
        return 0;
    }
    if (mode("fail")) {
        const char *reply = "{\"error\":\"PIN yanlış. Otomatik yeniden deneme yapılmadı.\",\"ok\":false}";
        writeAll(1, reply, strlen(reply));
        return 1;
    }
    if (mode("flood")) {
        static char bytes[600000];
        memset(bytes, 'x', sizeof bytes);
        writeAll(1, bytes, sizeof bytes);
        sleepForever();
    }
    if (mode("okfailure")) {
        writeAll(1, "{\"ok\":true}", 11);
        return 3;
    }
    if (mode("array")) {
        writeAll(1, "[]", 2);
        return 0;
    }
    if (mode("noisy")) {
        static char noise[1 << 20];
        memset(noise, 'n', sizeof noise);
        writeAll(2, noise, sizeof noise);
        writeAll(1, "{\"ok\":true,\"signature\":\"AQID\"}", 30);
        return 0;
    }
    if (mode("crash"))
        raise(SIGSEGV);
    if (mode("hang"))
        sleepForever();
    return 0; /* "empty": nothing written */
}
