#pragma once

#include <QString>

namespace velkor {

// Accumulates a long text piece by piece. Appends go to the end and grow the
// buffer in place, so building a text of many thousand lines stays linear.
class ExtraString
{
public:
    static const QString CRLF;

    // The whole text accumulated so far.
    QString Text() const { return m_buffer; }

    // Appends as a new line: a CR LF first unless the builder is still empty.
    void Adn(const QString &newString);

    // Empties the builder first when reset is set, then appends CR LF when
    // crlf is set (even on an empty builder), then the text.
    void Add(const QString &newString, bool crlf = false, bool reset = false);

    bool isEmpty() const { return m_buffer.isEmpty(); }
    qsizetype length() const { return m_buffer.size(); }
    void reserve(qsizetype size) { m_buffer.reserve(size); }

private:
    QString m_buffer;
};

} // namespace velkor
