#pragma once

// Web links of a document, opened only with the user's leave: only http,
// https and mailto addresses are offered at all, the user is asked first,
// and then the desktop's browser or mail program gets the address. The
// application itself never fetches it. GUI thread; the question and the
// hand-over are the tab's replaceable prompts.

#include "document/ui/TabPrompts.h"

#include <QString>

namespace velk {

class WebLinks {
public:
    // An address with an http, https or mailto scheme that QUrl reads whole.
    static bool isOffered(const QString& uri);

    // "Bu bağlantı tarayıcıda açılsın mı? %1" with the address, then the
    // hand-over. Empty when opened or declined, else the sentence to show.
    static QString open(QWidget* parent, const QString& uri, const TabPrompts& prompts);
};

} // namespace velk
