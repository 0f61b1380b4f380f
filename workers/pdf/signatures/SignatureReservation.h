#pragma once

// The qpdf half of "prepareSignature": adds to a document read by qpdf one
// signature field whose value reserves a fixed-size /Contents and a
// placeholder /ByteRange (or a document time stamp), optionally with a
// visible seal, and writes it as one incremental update. Every earlier
// revision stays byte for byte at the start of the output.

#include <QDateTime>
#include <QString>

namespace velk {

struct ReservationRequest {
    QString path;
    QString output;
    int page = 0;
    bool visible = false;
    bool documentTimestamp = false;
    QString reason;
    QString signer;
    // "[l b r t]" of the seal; "[0 0 0 0]" when invisible.
    QByteArray rectangle;
    // The seal's clock.
    QDateTime localTime;
};

class SignatureReservation {
public:
    // Empty on success, else the sentence to answer.
    static QString write(const ReservationRequest& request);

    // "<a5…a500…00>": the 32,768-byte reservation as 65,536 hex digits,
    // its first 16 bytes a marker the signing side looks for.
    static QByteArray contentsPlaceholder();
};

} // namespace velk
