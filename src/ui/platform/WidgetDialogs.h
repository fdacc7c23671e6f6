#pragma once

#include "platform/Services.h"

#include <QPointer>

class QWidget;

namespace kestrava {

// The program's message boxes and input box, with French buttons whatever Qt's translations.
class WidgetDialogs final : public Dialogs
{
public:
    // The boxes are centred on this window once it exists; before that they stand alone.
    void setParentWindow(QWidget *window) { m_parent = window; }

    void message(const QString &text, const QString &title, MessageIcon icon) override;
    bool askYesNo(const QString &text, const QString &title) override;
    Answer askYesNoCancel(const QString &text, const QString &title) override;
    std::optional<QString> askText(const QString &prompt, const QString &title) override;
    std::optional<QString> askSaveFile(const QString &title, const QString &proposed, const QString &filter) override;
    std::optional<QString> askOpenFile(const QString &title, const QString &folder, const QString &filter) override;

private:
    QPointer<QWidget> m_parent;
};

} // namespace kestrava
