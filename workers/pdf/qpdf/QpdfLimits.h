#pragma once

// Limits of the qpdf object layer, each checked before the work it bounds.

#include "worker/contract/SharedLimits.h"

#include <QtGlobal>

namespace velk::QpdfLimits {

// Direct copies: items of one array, keys of one dictionary.
inline constexpr int kMaxCopiedArrayItems = 100000;
inline constexpr int kMaxCopiedDictionaryKeys = 10000;

// A document read from memory: the largest PDF the worker accepts.
inline constexpr qint64 kMaxDocumentBytes = SharedLimits::kMaxPdfBytes;
// A document written to memory; a form's new appearances and one embedded
// font add far less than this to the largest input.
inline constexpr qint64 kMaxWrittenBytes = qint64(640) * 1024 * 1024;

// One stream's data handed out by the layer: what a QByteArray can hold
// comfortably; callers bound it further.
inline constexpr qint64 kMaxStreamDataBytes = qint64(1024) * 1024 * 1024;

// The incremental writer: the largest source and result, the bytes at the
// end searched for "startxref", and the largest trailer /Size.
inline constexpr qint64 kMaxIncrementalBytes = qint64(128) * 1024 * 1024;
inline constexpr qint64 kTrailerTailBytes = 4096;
inline constexpr qint64 kMaxTrailerSize = 10000000;

} // namespace velk::QpdfLimits
