#pragma once

// The names the qpdf binding resolves, in resolution order, each with the
// member of QpdfFunctions it fills. Every entry must resolve for a binding
// to succeed, so a library of another qpdf version is refused as a whole.

#include "QpdfFunctions.h"

#include <QtGlobal>

#include <span>

namespace velk {

struct QpdfFunctionEntry {
    const char* name;
    void (*assign)(QpdfFunctions& functions, QFunctionPointer address);
};

inline constexpr int kQpdfFunctionCount = 47;

std::span<const QpdfFunctionEntry> qpdfFunctionTable();

} // namespace velk
