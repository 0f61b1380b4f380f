#pragma once

// What a contract reader gives back: the value, or why it was refused.

#include <QString>

#include <optional>

namespace velk {

template <typename T>
struct Decoded {
    std::optional<T> value;
    // The sentence for the user when the reader has one of its own; empty
    // with no value when the message was simply not well formed.
    QString error;

    static Decoded refused(const QString& sentence = QString()) { return Decoded{std::nullopt, sentence}; }
};

} // namespace velk
