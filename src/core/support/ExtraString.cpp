#include "ExtraString.h"

namespace velkor {

const QString ExtraString::CRLF = QStringLiteral("\r\n");

void ExtraString::Adn(const QString &newString)
{
    if (!m_buffer.isEmpty())
        m_buffer += CRLF;
    m_buffer += newString;
}

void ExtraString::Add(const QString &newString, bool crlf, bool reset)
{
    if (reset)
        m_buffer.clear();
    if (crlf)
        m_buffer += CRLF;
    m_buffer += newString;
}

} // namespace velkor
