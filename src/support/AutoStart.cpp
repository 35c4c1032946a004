#include "support/AutoStart.h"

#include "support/AutoStartRules.h"
#include "support/RegistryStore.h"
#include "support/UserMessage.h"

#include <QCheckBox>

namespace {

const char* const TagProperty = "Tag";
const QString ArmedTag = QStringLiteral("OK");

} // namespace

void InitAutoStartCheck(QCheckBox* checkBox) {
    const AutoStartRules::StartState state = AutoStartRules::InitAutoStart(RegistryStore());
    for (const QString& message : state.messages)
        UserMessage::information(checkBox->window(), message);
    if (state.shortcutReplaced) {
        checkBox->setProperty(TagProperty, ArmedTag);
        if (checkBox->isChecked())
            ApplyAutoStartCheck(checkBox);
        else
            checkBox->setChecked(true); // its change handler writes the entry
        return;
    }
    checkBox->setChecked(state.checked);
    checkBox->setProperty(TagProperty, ArmedTag);
}

void ApplyAutoStartCheck(QCheckBox* checkBox) {
    if (checkBox->property(TagProperty).toString().isEmpty())
        return;
    RegistryStore store;
    AutoStartRules::Apply(store, checkBox->isChecked());
}
