#include "operations/ShapeChoice.h"

namespace velk {

std::optional<QString> chooseShapeKind(QWidget* parent, const EditPrompts& given)
{
    // Item positions select the kinds, in this order.
    static const QStringList kItems{QStringLiteral("Alan vurgula"), QStringLiteral("Dikdörtgen"),
                                    QStringLiteral("Elips")};
    static const QStringList kKinds{QStringLiteral("highlight"), QStringLiteral("rectangle"),
                                    QStringLiteral("ellipse")};
    const EditPrompts prompts = EditPrompts::completed(given);
    const std::optional<int> chosen =
        prompts.chooseItem(parent, QStringLiteral("Vurgulama veya şekil"), QStringLiteral("Araç"), kItems);
    if (!chosen || *chosen < 0 || *chosen >= kKinds.size())
        return std::nullopt;
    return kKinds.at(*chosen);
}

} // namespace velk
