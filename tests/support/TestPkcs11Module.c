/* A PKCS#11 module for tests only: it forwards every call to a real module
 * (SoftHSM unless VELK_TEST_PKCS11_TARGET names another) and changes one
 * behaviour, chosen by VELK_TEST_PKCS11_BEHAVIOUR, that SoftHSM cannot show:
 *   pinpad         the protected-path flag; C_Login(NULL, 0) logs in with
 *                  VELK_TEST_PKCS11_PIN, and a PIN passed in is refused
 *   finaltry       the final-try flag
 *   locked         the locked flag
 *   initialised    C_Initialize reports CKR_CRYPTOKI_ALREADY_INITIALIZED
 *   loggedin       C_OpenSession also logs in with VELK_TEST_PKCS11_PIN
 *   ecshort        C_Sign returns one byte less than the device gave
 *   signzero       C_Sign returns a length of 0
 *   findfinal      C_FindObjectsFinal fails
 *   nullentry      the function list has no C_SignInit
 *   version1       the function list reports version 1.0
 *   hang           C_Initialize never returns
 *   crash          C_Initialize crashes
 *   printf         the module prints to standard output while loading
 *   probe          C_Initialize writes what the loading process allows
 *                  (dumpable flag, core size limit) to VELK_TEST_PKCS11_PROBE */

#include <p11-kit/pkcs11.h>

#include <dlfcn.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static CK_FUNCTION_LIST *real;
static CK_FUNCTION_LIST ours;

static int behaviour(const char *name)
{
    const char *chosen = getenv("VELK_TEST_PKCS11_BEHAVIOUR");
    return chosen != NULL && strcmp(chosen, name) == 0;
}

static CK_UTF8CHAR *environmentPin(CK_ULONG *length)
{
    char *pin = getenv("VELK_TEST_PKCS11_PIN");
    *length = pin ? (CK_ULONG)strlen(pin) : 0;
    return (CK_UTF8CHAR *)pin;
}

static void writeProbe(void)
{
    const char *path = getenv("VELK_TEST_PKCS11_PROBE");
    FILE *file = path ? fopen(path, "w") : NULL;
    struct rlimit core;
    if (file == NULL || getrlimit(RLIMIT_CORE, &core) != 0) {
        if (file != NULL)
            fclose(file);
        return;
    }
    fprintf(file, "dumpable=%d core=%llu", prctl(PR_GET_DUMPABLE, 0, 0, 0, 0), (unsigned long long)core.rlim_cur);
    fclose(file);
}

static CK_RV initialize(void *arguments)
{
    if (behaviour("probe"))
        writeProbe();
    if (behaviour("hang"))
        for (;;)
            pause();
    if (behaviour("crash"))
        raise(SIGSEGV);
    if (behaviour("printf")) {
        printf("{\"ok\":false,\"error\":\"driver output\"}\n");
        fflush(stdout);
    }
    CK_RV rv = real->C_Initialize(arguments);
    if (rv == CKR_OK && behaviour("initialised"))
        return CKR_CRYPTOKI_ALREADY_INITIALIZED;
    return rv;
}

static CK_RV getTokenInfo(CK_SLOT_ID slot, CK_TOKEN_INFO *info)
{
    CK_RV rv = real->C_GetTokenInfo(slot, info);
    if (rv != CKR_OK)
        return rv;
    if (behaviour("pinpad"))
        info->flags |= CKF_PROTECTED_AUTHENTICATION_PATH;
    if (behaviour("finaltry"))
        info->flags |= CKF_USER_PIN_FINAL_TRY;
    if (behaviour("locked"))
        info->flags |= CKF_USER_PIN_LOCKED;
    return rv;
}

static CK_RV login(CK_SESSION_HANDLE session, CK_USER_TYPE type, CK_UTF8CHAR *pin, CK_ULONG length)
{
    if (behaviour("pinpad")) {
        if (pin != NULL || length != 0)
            return CKR_ARGUMENTS_BAD;
        pin = environmentPin(&length);
    }
    return real->C_Login(session, type, pin, length);
}

static CK_RV openSession(CK_SLOT_ID slot, CK_FLAGS flags, void *application, CK_NOTIFY notify,
                         CK_SESSION_HANDLE *session)
{
    CK_RV rv = real->C_OpenSession(slot, flags, application, notify, session);
    if (rv == CKR_OK && behaviour("loggedin")) {
        CK_ULONG length = 0;
        CK_UTF8CHAR *pin = environmentPin(&length);
        (void)real->C_Login(*session, CKU_USER, pin, length);
    }
    return rv;
}

static CK_RV sign(CK_SESSION_HANDLE session, CK_BYTE *data, CK_ULONG dataLength, CK_BYTE *signature,
                  CK_ULONG *signatureLength)
{
    CK_RV rv = real->C_Sign(session, data, dataLength, signature, signatureLength);
    if (rv == CKR_OK && signature != NULL && behaviour("ecshort") && *signatureLength > 0)
        *signatureLength -= 1;
    if (rv == CKR_OK && signature != NULL && behaviour("signzero"))
        *signatureLength = 0;
    return rv;
}

static CK_RV findObjectsFinal(CK_SESSION_HANDLE session)
{
    CK_RV rv = real->C_FindObjectsFinal(session);
    return behaviour("findfinal") ? CKR_GENERAL_ERROR : rv;
}

CK_RV C_GetFunctionList(CK_FUNCTION_LIST **list)
{
    if (list == NULL)
        return CKR_ARGUMENTS_BAD;
    if (behaviour("printf")) {
        printf("module loaded\n");
        fflush(stdout);
    }
    if (real == NULL) {
        const char *target = getenv("VELK_TEST_PKCS11_TARGET");
        void *library = dlopen(target ? target : "/usr/lib/softhsm/libsofthsm2.so", RTLD_NOW | RTLD_LOCAL);
        CK_C_GetFunctionList forward = NULL;
        /* POSIX's way from dlsym's object pointer to a function pointer. */
        if (library != NULL)
            *(void **)&forward = dlsym(library, "C_GetFunctionList");
        if (forward == NULL || forward(&real) != CKR_OK || real == NULL)
            return CKR_GENERAL_ERROR;
    }
    ours = *real;
    ours.C_Initialize = initialize;
    ours.C_GetTokenInfo = getTokenInfo;
    ours.C_Login = login;
    ours.C_OpenSession = openSession;
    ours.C_Sign = sign;
    ours.C_FindObjectsFinal = findObjectsFinal;
    if (behaviour("nullentry"))
        ours.C_SignInit = NULL;
    if (behaviour("version1")) {
        ours.version.major = 1;
        ours.version.minor = 0;
    }
    *list = &ours;
    return CKR_OK;
}
