#include "Failure.h"

#include <new>

namespace velkor {

Failure failureFromCurrentException()
{
    try {
        throw;
    } catch (const Failure &failure) {
        return failure;
    } catch (const std::bad_alloc &) {
        return Failure(7, QStringLiteral("Brak pamięci."));
    } catch (const std::exception &e) {
        return Failure(0, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        return Failure(0, QStringLiteral("Nieznany błąd."));
    }
}

} // namespace velkor
