/* Stands in for velk-secure-store in the client's tests: reads the request
 * and answers the way VELK_STAND_IN_MODE says. Writes its process id to
 * VELK_STAND_IN_PIDFILE when that is set. In mode "slow" it waits
 * VELK_STAND_IN_DELAY_MS and then becomes the real store named by
 * VELK_STAND_IN_REAL_STORE, request and all. */

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

static void writeText(const char *text)
{
    writeAll(1, text, strlen(text));
}

static void sleepForever(void)
{
    for (;;)
        pause();
}

/* {"ok":true,"pad":"xx..."} of exactly `total` bytes. */
static void padded(size_t total)
{
    static char bytes[70000];
    const char *head = "{\"ok\":true,\"pad\":\"";
    size_t used = strlen(head);
    memcpy(bytes, head, used);
    memset(bytes + used, 'x', total - used - 2);
    memcpy(bytes + total - 2, "\"}", 2);
    writeAll(1, bytes, total);
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
    if (mode("sleep"))
        sleepForever();
    if (mode("slow")) {
        const char *delay = getenv("VELK_STAND_IN_DELAY_MS");
        const char *real = getenv("VELK_STAND_IN_REAL_STORE");
        usleep((useconds_t)(delay != NULL ? atoi(delay) : 0) * 1000u);
        if (real != NULL)
            execl(real, real, (char *)NULL);
        return 9;
    }

    static char request[40000];
    size_t size = 0;
    ssize_t got;
    while (size < sizeof request && (got = read(0, request + size, sizeof request - size)) > 0)
        size += (size_t)got;

    if (mode("echo")) {
        writeText("{\"ok\":true,\"found\":true,\"record\":");
        writeAll(1, request, size);
        writeText("}");
        return 0;
    }
    if (mode("okexit3")) {
        writeText("{\"ok\":true}");
        return 3;
    }
    if (mode("failnoerror")) {
        writeText("{\"ok\":false}");
        return 1;
    }
    if (mode("failemptyerror")) {
        writeText("{\"ok\":false,\"error\":\"\"}");
        return 1;
    }
    if (mode("fail")) {
        writeText("{\"ok\":false,\"error\":\"Güvenli kayıt dosyası okunamadı.\"}");
        return 1;
    }
    if (mode("oktext")) {
        writeText("{\"ok\":\"true\"}");
        return 0;
    }
    if (mode("crash")) {
        writeText("{\"ok\":true}");
        abort();
    }
    if (mode("notjson")) {
        writeText("ok");
        return 0;
    }
    if (mode("array")) {
        writeText("[{\"ok\":true}]");
        return 0;
    }
    if (mode("max")) {
        padded(65536);
        return 0;
    }
    if (mode("flood")) {
        padded(65537);
        sleepForever();
    }
    if (mode("noisy")) {
        static char noise[200000];
        memset(noise, 'e', sizeof noise);
        writeAll(2, noise, sizeof noise);
        writeText("{\"ok\":true,\"found\":false}");
        return 0;
    }
    if (mode("answerthensleep")) {
        writeText("{\"ok\":true}");
        sleepForever();
    }
    return 9;
}
