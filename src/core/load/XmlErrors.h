#pragma once

#include <libxml/xmlerror.h>

#include <QString>

namespace velkor {

// The first error libxml2 reported while the collector was alive.
struct XmlError
{
    bool occurred = false;
    int domain = 0;
    int code = 0;
    int line = 0;
    QString message;    // libxml2's own text
    QString str1, str2; // its particulars: a value, a limit, a pattern, a name
    // The element the error is about (for a validity error, the one its text
    // names; for a parse error, the one open) as the tree writes its path,
    // "Fa / P_1", or the root's name alone; empty when unknown.
    QString path;
    QString content;    // that element's text, when the error is about a value
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
