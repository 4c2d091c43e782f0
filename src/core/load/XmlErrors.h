#pragma once

#include <libxml/xmlerror.h>

#include <QString>

namespace velkor {

// The first error libxml2 reported while the collector was alive.
struct XmlError
{
    bool occurred = false;
    int code = 0;
    int line = 0;
    QString message;
};

// Captures libxml2's errors for the duration of one parse, validation or
// schema compilation: the first error (not warning) is kept, nothing is
// printed. Restores the previous handler when destroyed.
class XmlErrorCollector
{
public:
    XmlErrorCollector();
    ~XmlErrorCollector();
    XmlErrorCollector(const XmlErrorCollector &) = delete;
    XmlErrorCollector &operator=(const XmlErrorCollector &) = delete;

    const XmlError &first() const { return m_first; }

    // The parser whose errors are collected: errors raised while validating
    // a document as it is parsed carry no line of their own and take the
    // parser's current line, and the first of them stops the parser, since
    // the outcome is decided.
    void setParser(struct _xmlParserCtxt *parser) { m_parser = parser; }

private:
    static void onError(void *self, xmlErrorPtr error);
    static void ignoreGeneric(void *, const char *, ...) {}

    XmlError m_first;
    struct _xmlParserCtxt *m_parser = nullptr;
    void *m_previousContext;
    xmlStructuredErrorFunc m_previousHandler;
    void *m_previousGenericContext;
    xmlGenericErrorFunc m_previousGenericHandler;
};

} // namespace velkor
