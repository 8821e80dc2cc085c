#pragma once

#include "window_parts/user_prompts.h"

#include <QList>
#include <QStringList>

namespace quillfen {

/// A UserPrompts for tests: records every message and answers save dialogs from a queue
/// (an empty answer, or an empty queue, means the user cancelled).
class ScriptedPrompts : public UserPrompts {
public:
    ScriptedPrompts() { install(this); }
    ~ScriptedPrompts() override { install(nullptr); }
    void message(QWidget*, const QString& text) override { messages.append(text); }
    QString saveFileName(QWidget*, const SaveDialogOptions& options) override {
        dialogs.append(options);
        return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    }

    QStringList messages;
    QStringList saveAnswers;
    QList<SaveDialogOptions> dialogs;
};

} // namespace quillfen
