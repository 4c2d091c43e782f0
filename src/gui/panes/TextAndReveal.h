#pragma once

#include <QObject>
#include <QString>

#include <memory>

namespace velkor {

class TextView;
struct InvoiceState;
struct MainWindowControls;

// The XML text view and the deferred reveal: the view toggle builds the text
// once per load; a chosen list row asks for a reveal, which the timer
// performs in the tree and the text after the click has been handled.
class TextAndReveal : public QObject
{
    Q_OBJECT
public:
    TextAndReveal(MainWindowControls &controls, InvoiceState &state, QObject *parent = nullptr);

    // Forgets the text view of the previous invoice.
    void clear();
    // Shows the text view or the structure view, as StrukturaOn says.
    void StrukturaOn_Click();
    // Asks for a reveal 200 ms from now; a newer request replaces a pending one.
    void ScheduleReveal(const QString &request);
    void Zegar_Timer();
    void RevealInTree(const QString &request);
    void RevealInText(const QString &request);

    // The text view's whole text, CR LF line breaks included; empty until built.
    QString builtText() const;
    bool isTextBuilt() const;

private:
    int resolve(const QString &request) const;

    MainWindowControls &m_controls;
    InvoiceState &m_state;
    std::shared_ptr<const TextView> m_textView;
    QString m_pendingRequest;
};

} // namespace velkor
