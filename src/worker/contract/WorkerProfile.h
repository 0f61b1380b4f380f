#pragma once

// The fixed facts of the worker contract for each of the four worker
// programs: how a request is read, how large it may be, which sentence an
// invalid request gets, which exit statuses report the outcome, and what is
// wiped. Every worker program and every client takes its limits from here.

#include <QString>
#include <QtGlobal>

namespace velk {

enum class RequestReading {
    // Repeated reads of at most kChunkBytes each until end of input or
    // limit + 1 bytes are held.
    Chunked,
    // One blocking read of up to limit + 1 bytes.
    SingleRead,
    // One blocking read of up to limit + 1 bytes; the JSON text ends at the
    // first line feed and the PIN follows it.
    SingleReadWithPin,
};

enum class InputWiping { None, ZeroFill, SecureCleanse };

struct WorkerProfile {
    const char* program;
    RequestReading reading;
    qsizetype maxRequestBytes;
    QString invalidRequestError;
    // The invalid-request reply of the PDF worker also carries "code": 0.
    bool invalidReplyHasCode;
    InputWiping inputWiping;
    bool wipesReplyBytes;
    int exitOk;
    int exitFailed;
    int exitNoOutput;
    // The PDF worker keeps OpenMP users (the OCR engine) on one thread.
    bool limitsOpenMpThreads;
    // The secure store derives its storage location from these names.
    bool setsApplicationIdentity;
};

namespace WorkerProfiles {

inline constexpr qsizetype kChunkBytes = 8192;
inline constexpr qsizetype kMaxPinBytes = 128;

const WorkerProfile& pdfWorker();
const WorkerProfile& tokenWorker();
const WorkerProfile& secureStore();
const WorkerProfile& officeWorker();

} // namespace WorkerProfiles

// The application's identity: the program shows it, and the secure store
// keeps its records under it.
inline constexpr const char* kOrganizationName = "Velk";
inline constexpr const char* kApplicationName = "Velk PDF";

} // namespace velk
