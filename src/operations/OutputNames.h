#pragma once

// The file name a save dialog proposes for an output derived from another
// file: "<name>-<what>.pdf" in that file's folder ("rapor.pdf" and
// "duzenlenmis" give "rapor-duzenlenmis.pdf"). A proposal never names a file
// that exists: "-2", "-3", … are added until it is free. Pure functions of
// the file system; any thread.

#include <QString>

namespace velk {

class OutputNames {
public:
    // Absolute path of the proposal; empty what gives "<name>.pdf". An
    // empty or relative source gives a bare file name, which the dialog
    // places in its own start folder.
    static QString derived(const QString& sourcePath, const QString& what);
    // path itself when nothing exists there, else the first free
    // "<base>-N.<suffix>" beside it (N from 2).
    static QString unused(const QString& path);

    // Past this many numbered tries the plain proposal is given back; the
    // save dialog still asks before it replaces anything.
    static constexpr int kMaxNumberedTries = 999;
};

// What each derived output is called in its file name.
namespace OutputKind {
inline constexpr char kCopy[] = "kopya";
inline constexpr char kEdited[] = "duzenlenmis";
inline constexpr char kAnnotated[] = "aciklamali";
inline constexpr char kFilled[] = "doldurulmus";
inline constexpr char kMerged[] = "birlestirilmis";
inline constexpr char kSearchable[] = "aranabilir";
inline constexpr char kSigned[] = "imzali";
} // namespace OutputKind

} // namespace velk
