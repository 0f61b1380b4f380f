#pragma once

// The owning wrapper of a qpdf document handle. The cleanup function comes
// from the binding (qpdf is not linked), so the deleter carries it; qpdf's
// cleanup takes the handle's address and clears it.

#include "qpdf/QpdfFunctions.h"

#include <memory>

namespace velk {

struct QpdfCleanup {
    void (*cleanup)(qpdf_data*) = nullptr;
    void operator()(qpdf_data data) const
    {
        if (data && cleanup)
            cleanup(&data);
    }
};

using QpdfDataHandle = std::unique_ptr<QpdfDocumentData, QpdfCleanup>;

} // namespace velk
