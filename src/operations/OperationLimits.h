#pragma once

// Limits of the operation clients: publication, worker time limits and the
// text-object editor.

#include "worker/contract/SharedLimits.h"

#include <QtGlobal>

namespace velk::OperationLimits {

// A produced file is published only up to the size a document may have.
inline constexpr qint64 kMaxWorkFileBytes = SharedLimits::kMaxPdfBytes;

// Worker time limits, milliseconds.
inline constexpr int kAddTextTimeLimitMs = 20000;
inline constexpr int kVerifyTimeLimitMs = 20000;
inline constexpr int kEditTimeLimitMs = 60000;
inline constexpr int kQueryTimeLimitMs = 20000;

// A listed object's text in the list, in UTF-16 code units after white
// space is simplified; the editor gets the whole text.
inline constexpr int kListedTextUnits = 180;
// Replacement text, in UTF-16 code units.
inline constexpr int kMaxEditorTextUnits = SharedLimits::kMaxEditTextUnits;

} // namespace velk::OperationLimits
