#include "WidgetDialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace kestrava {

namespace {

// The core writes line breaks as CR LF, as the data files do; Qt wants plain LF.
QString screenText(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// Before the main window shows (a missing season file), the box must not hide behind the splash.
void keepInSight(QWidget &box, const QWidget *parent)
{
    if (!parent || !parent->isVisible())
        box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

} // namespace

void WidgetDialogs::message(const QString &text, const QString &title, MessageIcon icon)
{
    QMessageBox box(boxIcon(icon), title, screenText(text), QMessageBox::NoButton, m_parent);
    box.setDefaultButton(box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole));
    keepInSight(box, m_parent);
    box.exec();
}

bool WidgetDialogs::askYesNo(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::Question, title, screenText(text), QMessageBox::NoButton, m_parent);
    QPushButton *yes = box.addButton(QStringLiteral("Oui"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("Non"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    keepInSight(box, m_parent);
    box.exec();
    return box.clickedButton() == yes;
}

Answer WidgetDialogs::askYesNoCancel(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::Question, title, screenText(text), QMessageBox::NoButton, m_parent);
    QPushButton *yes = box.addButton(QStringLiteral("Oui"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("Non"), QMessageBox::NoRole);
    QPushButton *cancel = box.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    keepInSight(box, m_parent);
    box.exec();
    if (box.clickedButton() == yes)
        return Answer::Yes;
    if (box.clickedButton() == no)
        return Answer::No;
    return Answer::Cancel;
}

std::optional<QString> WidgetDialogs::askText(const QString &prompt, const QString &title)
{
    QInputDialog dialog(m_parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(screenText(prompt));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Annuler"));
    keepInSight(dialog, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

namespace {

// The program's own file chooser: it answers in French and behaves alike on every desktop.
std::optional<QString> chooseFile(QWidget *parent, const QString &title, const QString &start,
    const QString &filter, bool save)
{
    QFileDialog dialog(parent, title, start, filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setLabelText(QFileDialog::Accept, save ? QStringLiteral("Enregistrer") : QStringLiteral("Ouvrir"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Annuler"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Nom du fichier :"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Type :"));
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Dossier :"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    keepInSight(dialog, parent);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace

std::optional<QString> WidgetDialogs::askSaveFile(const QString &title, const QString &proposed, const QString &filter)
{
    return chooseFile(m_parent, title, proposed, filter, true);
}

std::optional<QString> WidgetDialogs::askOpenFile(const QString &title, const QString &folder, const QString &filter)
{
    return chooseFile(m_parent, title, folder, filter, false);
}

} // namespace kestrava
