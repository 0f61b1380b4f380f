#pragma once

// The notice the signature and verification windows show while signing is
// being developed: a sentence and a mail link to the support address set
// at build time. GUI thread; parent owns the label.

class QLabel;
class QWidget;

namespace velk {

QLabel* createSignatureNotice(QWidget* parent);

} // namespace velk
