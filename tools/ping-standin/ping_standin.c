/* Stand-in for the system's ping.exe inside the test sandbox.
 *
 * It understands the two options the uninstaller uses ("-n count", "-w timeout in ms"),
 * waits as long as a ping whose requests all go unanswered would, and sends nothing:
 * no test may put a packet on a network. The wait is capped so a test can never hang. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#define MAX_TOTAL_WAIT_MS 5000

int main(int argc, char** argv) {
    long count = 4;
    long timeout_ms = 4000;
    const char* target = "";
    for (int i = 1; i < argc; ++i) {
        if ((strcmp(argv[i], "-n") == 0 || strcmp(argv[i], "/n") == 0) && i + 1 < argc)
            count = strtol(argv[++i], NULL, 10);
        else if ((strcmp(argv[i], "-w") == 0 || strcmp(argv[i], "/w") == 0) && i + 1 < argc)
            timeout_ms = strtol(argv[++i], NULL, 10);
        else
            target = argv[i];
    }
    if (count < 1)
        count = 1;
    if (timeout_ms < 0)
        timeout_ms = 0;

    long total = count * timeout_ms;
    if (total > MAX_TOTAL_WAIT_MS || total < 0)
        total = MAX_TOTAL_WAIT_MS;

    printf("Pinging %s (sandbox stand-in: nothing is sent)\n", target);
    Sleep((DWORD)total);
    printf("Request timed out.\n");
    return 1;
}
