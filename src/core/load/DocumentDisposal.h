#pragma once

#include "core/load/InvoiceDocument.h"

#include <future>
#include <memory>

namespace velkor {

// Frees replaced invoice documents on a worker thread. The largest invoices
// take tens of milliseconds to free, which nobody should wait for once the
// next invoice is on screen. A document given here must no longer be
// referred to by anything.
class DocumentDisposal
{
public:
    DocumentDisposal() = default;
    ~DocumentDisposal();
    DocumentDisposal(const DocumentDisposal &) = delete;
    DocumentDisposal &operator=(const DocumentDisposal &) = delete;

    void dispose(std::unique_ptr<InvoiceDocument> document);
    // Returns once every document given so far is freed.
    void wait();

private:
    std::future<void> m_pending;
};

} // namespace velkor
