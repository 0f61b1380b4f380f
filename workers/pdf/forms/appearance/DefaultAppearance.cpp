#include "forms/appearance/DefaultAppearance.h"

#include <QByteArrayView>

#include <algorithm>
#include <cmath>
#include <optional>

namespace velk {

namespace {

constexpr qsizetype kMaxTextBytes = 4096;

enum class TokenKind { Number, Name, OtherOperand, Operator };

struct Token {
    TokenKind kind = TokenKind::OtherOperand;
    QByteArrayView text;
};

bool isWhiteSpace(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

bool isDelimiter(char c)
{
    return c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '{' || c == '}'
        || c == '/' || c == '%';
}

// Splits the string into tokens as a content stream reader does. Strings,
// hex strings, dictionaries and arrays each become one operand that no
// operator here accepts; their nesting is followed only to find their end.
class Tokenizer {
public:
    explicit Tokenizer(QByteArrayView text)
        : m_text(text)
    {
    }

    std::optional<Token> next()
    {
        skipSpaceAndComments();
        if (m_at >= m_text.size())
            return std::nullopt;
        const char c = m_text[m_at];
        if (c == '(')
            return skipString();
        if (c == '[' || c == '<' || c == '{')
            return skipNested();
        if (c == ']' || c == '>' || c == ')' || c == '}')
            return single();
        if (c == '/') {
            ++m_at;
            return Token{TokenKind::Name, regularRun()};
        }
        const QByteArrayView run = regularRun();
        return Token{classify(run), run};
    }

private:
    void skipSpaceAndComments()
    {
        while (m_at < m_text.size()) {
            if (isWhiteSpace(m_text[m_at])) {
                ++m_at;
            } else if (m_text[m_at] == '%') {
                while (m_at < m_text.size() && m_text[m_at] != '\n' && m_text[m_at] != '\r')
                    ++m_at;
            } else {
                return;
            }
        }
    }

    QByteArrayView regularRun()
    {
        const qsizetype start = m_at;
        while (m_at < m_text.size() && !isWhiteSpace(m_text[m_at]) && !isDelimiter(m_text[m_at]))
            ++m_at;
        return m_text.sliced(start, m_at - start);
    }

    Token single()
    {
        ++m_at;
        return Token{TokenKind::OtherOperand, m_text.sliced(m_at - 1, 1)};
    }

    // A literal string: balanced parentheses, backslash escapes.
    Token skipString()
    {
        const qsizetype start = m_at;
        int depth = 0;
        while (m_at < m_text.size()) {
            const char c = m_text[m_at++];
            if (c == '\\')
                ++m_at;
            else if (c == '(')
                ++depth;
            else if (c == ')' && --depth == 0)
                break;
        }
        m_at = std::min(m_at, m_text.size());
        return Token{TokenKind::OtherOperand, m_text.sliced(start, m_at - start)};
    }

    // Arrays, dictionaries and hex strings up to their matching close;
    // strings inside are skipped whole so that brackets in them count not.
    Token skipNested()
    {
        const qsizetype start = m_at;
        int depth = 0;
        while (m_at < m_text.size()) {
            const char c = m_text[m_at];
            if (c == '(') {
                skipString();
                continue;
            }
            ++m_at;
            if (c == '[' || c == '<' || c == '{')
                ++depth;
            else if ((c == ']' || c == '>' || c == '}') && --depth == 0)
                break;
        }
        return Token{TokenKind::OtherOperand, m_text.sliced(start, m_at - start)};
    }

    static bool isNumber(QByteArrayView run)
    {
        qsizetype at = 0;
        if (at < run.size() && (run[at] == '+' || run[at] == '-'))
            ++at;
        int digits = 0;
        bool point = false;
        for (; at < run.size(); ++at) {
            if (run[at] >= '0' && run[at] <= '9')
                ++digits;
            else if (run[at] == '.' && !point)
                point = true;
            else
                return false;
        }
        return digits > 0;
    }

    static TokenKind classify(QByteArrayView run)
    {
        if (isNumber(run))
            return TokenKind::Number;
        const char first = run.isEmpty() ? '\0' : run.front();
        if ((first >= '0' && first <= '9') || first == '+' || first == '-' || first == '.')
            return TokenKind::OtherOperand;
        return TokenKind::Operator;
    }

    QByteArrayView m_text;
    qsizetype m_at = 0;
};

// The operand's value; NaN when it overflows a double.
double valueOf(const Token& operand)
{
    bool ok = false;
    const double value = operand.text.toByteArray().toDouble(&ok);
    return ok ? value : std::nan("");
}

// Applies one operator to the appearance when its operands are exactly
// what it takes.
void apply(QByteArrayView name, const QList<Token>& operands, DefaultAppearance& appearance)
{
    if (name == "Tf") {
        if (operands.size() != 2 || operands[0].kind != TokenKind::Name || operands[1].kind != TokenKind::Number)
            return;
        const double size = valueOf(operands[1]);
        appearance.fontSize = std::isfinite(size) && size > 0 ? size : 0;
        return;
    }
    const qsizetype components = name == "g" ? 1 : name == "rg" ? 3 : name == "k" ? 4 : 0;
    if (components == 0 || operands.size() != components)
        return;
    QList<double> colour;
    for (const Token& operand : operands) {
        const double value = valueOf(operand);
        if (operand.kind != TokenKind::Number || !std::isfinite(value))
            return;
        colour.append(std::clamp(value, 0.0, 1.0));
    }
    appearance.textColour = colour;
}

} // namespace

DefaultAppearance DefaultAppearance::parse(const QByteArray& text)
{
    DefaultAppearance appearance;
    if (text.size() > kMaxTextBytes)
        return appearance;
    Tokenizer tokenizer(text);
    QList<Token> operands;
    while (const std::optional<Token> token = tokenizer.next()) {
        if (token->kind != TokenKind::Operator) {
            operands.append(*token);
            continue;
        }
        apply(token->text, operands, appearance);
        operands.clear();
    }
    return appearance;
}

} // namespace velk
