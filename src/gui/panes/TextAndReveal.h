#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QCheckBox;
class QTimer;
class QWidget;

namespace velkor {

class TextPane;
class TextView;
class TreePane;
struct InvoiceState;

// The XML text view and the deferred reveal: the view toggle builds the text
// once per load; a chosen list row asks for a reveal, which the timer
// performs in the tree and the text after the click has been handled.
class TextAndReveal : public QObject
{
    Q_OBJECT
public:
    // The text view takes the place of the tree's and the lines' frames.
    TextAndReveal(TreePane &tree, TextPane &text, QWidget &linesFrame, QCheckBox &strukturaOn, InvoiceState &state,
                  QObject *parent = nullptr);

    // Forgets the text view of the previous invoice.
    void clear();
    // Shows the text view or the structure view, as StrukturaOn says.
    void StrukturaOn_Click();
    // Turns StrukturaOn over and shows the view it then names.
    void toggleView();
    // Back to the structure view, as a new invoice is shown.
    void showStructureView();
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

    TreePane &m_tree;
    TextPane &m_text;
    QWidget &m_linesFrame;
    QCheckBox &m_strukturaOn;
    QTimer *m_zegar;
    InvoiceState &m_state;
    std::shared_ptr<const TextView> m_textView;
    QString m_pendingRequest;
};

} // namespace velkor
