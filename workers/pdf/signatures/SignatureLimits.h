#pragma once

// Limits of the permission analysis, the evidence reading and the
// signature listing, each checked before the work it bounds.

#include <QtGlobal>

namespace velk::SignatureLimits {

// Signature references and form fields of one permission analysis.
inline constexpr int kMaxAnalysedItems = 4096;
inline constexpr int kMaxFieldDepth = 32;
inline constexpr int kMaxLockedNames = 4096;
// Characters of a FieldMDP description kept.
inline constexpr int kMaxDescriptionCharacters = 2048;

// Stored evidence: entries of one DSS array, keys of /VRI, decoded bytes of
// one stream and of all streams read (each stream counted once).
inline constexpr int kMaxEvidenceItems = 128;
inline constexpr int kMaxVriEntries = 128;
inline constexpr qint64 kMaxEvidenceStreamBytes = 16777216;
inline constexpr qint64 kMaxEvidenceTotalBytes = 25165824;

// The listing: signatures of one document, bytes of one /Contents, and
// characters of a signing time.
inline constexpr int kMaxSignatures = 64;
inline constexpr int kMaxContentsBytes = 65536;
inline constexpr int kMaxTimeCharacters = 127;
inline constexpr int kMaxSubFilterCharacters = 127;
inline constexpr int kByteRangeEntries = 4;

} // namespace velk::SignatureLimits
