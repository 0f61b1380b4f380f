#pragma once

// Limits of the permission analysis, the evidence reading and the
// signature listing, each checked before the work it bounds.

#include "worker/contract/SharedLimits.h"

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

// Preparation: the reservation (32,768 bytes of signature, its first 16
// a marker), texts, the seal's page and characters, and the page-tree walk
// done before a page is taken.
inline constexpr int kReservedContentsBytes = 32768;
inline constexpr int kReservationMarkerBytes = 16;
inline constexpr int kMaxReasonLength = 512;
inline constexpr int kMaxSignerLength = 2048;
// Request texts are read up to this length, so that a long one gets its
// own sentence.
inline constexpr qsizetype kMaxRequestTextLength = SharedLimits::kMaxSignatureRequestTextLength;
inline constexpr qsizetype kMaxRequestPathLength = SharedLimits::kMaxSignatureRequestPathLength;
inline constexpr float kMinSealPageWidth = 300;
inline constexpr float kMinSealPageHeight = 140;
inline constexpr int kMaxSealCharacters = 60;
inline constexpr int kMaxPageTreeDepth = 32;
inline constexpr int kMaxPageTreeKids = 20000;
inline constexpr int kMaxPageTreeVisits = 200000;

// Evidence appended: files of one request (far beyond what one signature's
// evidence needs) and the length of a VRI key.
inline constexpr qsizetype kMaxEvidenceSources = SharedLimits::kMaxEvidenceSources;
inline constexpr qsizetype kVriKeyLength = SharedLimits::kVriKeyLength;

} // namespace velk::SignatureLimits
