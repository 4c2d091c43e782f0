#pragma once

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlschemas.h>
#include <libxml/xpath.h>

#include <QString>

#include <memory>

namespace velkor {

// Owning handles for libxml2 objects. Every libxml2 allocation the program
// keeps goes into one of these, so nothing is freed by hand.
namespace detail {
template <typename T, void (*Free)(T *)>
struct XmlDeleter
{
    void operator()(T *p) const
    {
        if (p)
            Free(p);
    }
};
inline void freeXmlChars(xmlChar *p) { xmlFree(p); }
} // namespace detail

template <typename T, void (*Free)(T *)>
using XmlHandle = std::unique_ptr<T, detail::XmlDeleter<T, Free>>;

using XmlDocHandle = XmlHandle<xmlDoc, xmlFreeDoc>;
using XmlParserCtxtHandle = XmlHandle<xmlParserCtxt, xmlFreeParserCtxt>;
using XmlSchemaHandle = XmlHandle<xmlSchema, xmlSchemaFree>;
using XmlSchemaParserCtxtHandle = XmlHandle<xmlSchemaParserCtxt, xmlSchemaFreeParserCtxt>;
using XmlSchemaValidCtxtHandle = XmlHandle<xmlSchemaValidCtxt, xmlSchemaFreeValidCtxt>;
using XmlXPathContextHandle = XmlHandle<xmlXPathContext, xmlXPathFreeContext>;
using XmlXPathObjectHandle = XmlHandle<xmlXPathObject, xmlXPathFreeObject>;
using XmlCharsHandle = XmlHandle<xmlChar, detail::freeXmlChars>;
using XmlBufferHandle = XmlHandle<xmlBuffer, xmlBufferFree>;

inline QString fromXml(const xmlChar *text)
{
    return text ? QString::fromUtf8(reinterpret_cast<const char *>(text)) : QString();
}

inline QString fromXml(const XmlCharsHandle &text) { return fromXml(text.get()); }

inline const xmlChar *toXml(const char *text) { return reinterpret_cast<const xmlChar *>(text); }

} // namespace velkor
