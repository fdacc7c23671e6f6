#pragma once
// The window's benchmarks answer no question: every dialog gives the plain "no" at once.
#include "platform/Services.h"

namespace kestrava::bench {

class SilentDialogs final : public Dialogs
{
public:
    void message(const QString &, const QString &, MessageIcon) override { }
    bool askYesNo(const QString &, const QString &) override { return false; }
    Answer askYesNoCancel(const QString &, const QString &) override { return Answer::No; }
    std::optional<QString> askText(const QString &, const QString &) override { return std::nullopt; }
    std::optional<QString> askSaveFile(const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }
    std::optional<QString> askOpenFile(const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }
};

} // namespace kestrava::bench
