#include "game/StepAnnouncement.h"

#include "platform/Announcer.h"

namespace game {

using platform::Sentence;

QString StepAnnouncement(const StepTexts& step) {
    QStringList parts;
    if (const QString description = Sentence(step.opis); !description.isEmpty()) {
        parts << description;
    }
    for (std::size_t i = 0; i < step.choices.size(); ++i) {
        if (!step.choices[i].enabled) {
            continue;
        }
        const QString name = QStringLiteral("Wybór %1").arg(i + 1);
        const QString text = Sentence(step.choices[i].text);
        parts << (text.isEmpty() ? name + u'.' : name + QStringLiteral(": ") + text);
    }
    return parts.join(u' ');
}

} // namespace game
