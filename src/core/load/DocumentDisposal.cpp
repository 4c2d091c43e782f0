#include "DocumentDisposal.h"

namespace velkor {

DocumentDisposal::~DocumentDisposal()
{
    wait();
}

void DocumentDisposal::wait()
{
    if (m_pending.valid())
        m_pending.wait();
}

void DocumentDisposal::dispose(std::unique_ptr<InvoiceDocument> document)
{
    if (!document)
        return;
    wait(); // one at a time: two large frees would only compete
    try {
        m_pending = std::async(std::launch::async, [document = std::move(document)]() mutable { document.reset(); });
    } catch (const std::system_error &) {
        // No thread to be had: the document was freed here instead, when the
        // lambda holding it was destroyed.
    }
}

} // namespace velkor
