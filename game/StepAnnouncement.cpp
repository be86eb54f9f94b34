#include "game/StepAnnouncement.h"

#include "game/Urpggra.h"
#include "platform/Announcer.h"

namespace game {

using platform::Sentence;

QString StepAnnouncement(const QString& opis, const std::array<ChoiceLine, 4>& choices) {
    QStringList parts;
    if (const QString description = Sentence(opis); !description.isEmpty()) {
        parts << description;
    }
    for (std::size_t i = 0; i < choices.size(); ++i) {
        if (!choices[i].enabled) {
            continue;
        }
        const QString name = QStringLiteral("Wybór %1").arg(i + 1);
        const QString text = Sentence(choices[i].text);
        parts << (text.isEmpty() ? name + u'.' : name + QStringLiteral(": ") + text);
    }
    return parts.join(u' ');
}

void AnnounceStep(TFoRpgGra& gra) {
    const std::array<ChoiceLine, 4> choices{
        ChoiceLine{gra.LaWybor1->VisibleText(), gra.BuWybor1->isEnabled()},
        ChoiceLine{gra.LaWybor2->VisibleText(), gra.BuWybor2->isEnabled()},
        ChoiceLine{gra.LaWybor3->VisibleText(), gra.BuWybor3->isEnabled()},
        ChoiceLine{gra.LaWybor4->VisibleText(), gra.BuWybor4->isEnabled()},
    };
    gra.Announcer->Announce(StepAnnouncement(gra.MeOpis->toPlainText(), choices));
}

} // namespace game
