#pragma once

// The names the qpdf binding resolves, in resolution order, each with the
// member of QpdfFunctions it fills. Every entry must resolve for a binding
// to succeed, so a library of another qpdf version is refused as a whole.

#include "qpdf/QpdfFunctions.h"
#include "common/EngineLibrary.h"

#include <span>

namespace velk {

using QpdfFunctionEntry = EngineFunction<QpdfFunctions>;

inline constexpr int kQpdfFunctionCount = 53;

std::span<const QpdfFunctionEntry> qpdfFunctionTable();

} // namespace velk
