#include "app/champselect/ChampSelectCards.h"

#include "app/panels/HudStyle.h"
#include "app/panels/HudViews.h"
#include "core/knowledge/DDragon.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace tolvane {

namespace {

PanelRow headerRow(const HUDHeader& header)
{
    QString name = QStringLiteral("header: ") + header.title;
    if (header.trailing)
        name += QStringLiteral(" | ") + *header.trailing;
    return {name, header.height(), [header](QPainter& painter, const QRectF& slot) { header.paint(painter, slot); }};
}

// The view relies on a page's name lists matching its id lists; a short list reads as no name.
QString nameAt(const std::vector<QString>& names, size_t i)
{
    return i < names.size() ? names[i] : QString();
}

QString joined(const QStringList& parts)
{
    return parts.join(QStringLiteral(" · "));
}

} // namespace

const QString ChampSelectCards::noBuildText = QStringLiteral("no popular build for this mode");

bool ChampSelectCards::buildAsked(const MetaModeRoute& mode)
{
    return mode.kind != MetaModeRoute::Kind::arena;
}

QString ChampSelectCards::percent(double fraction)
{
    return QString::number(std::lround(fraction * 100));
}

QString ChampSelectCards::runeStatsLine(const MetaRunePage& page)
{
    QStringList parts;
    if (page.pickRate)
        parts << percent(*page.pickRate) + QStringLiteral("% pick");
    if (page.winRate)
        parts << percent(*page.winRate) + QStringLiteral("% win");
    return joined(parts);
}

QString ChampSelectCards::shardsLine(const MetaRunePage& page)
{
    QStringList labels;
    for (const int64_t id : page.statModIds)
        if (const auto label = StatShardLabel::label(id))
            labels << *label;
    return joined(labels);
}

std::vector<std::pair<QString, std::vector<int64_t>>> ChampSelectCards::buildRows(
    const MetaBuild& build, const ItemCatalog& catalog)
{
    std::vector<int64_t> starters, core;
    std::optional<int64_t> boots;
    for (const auto& slot : build.buildOrder({}, catalog)) {
        switch (slot.kind) {
        case BuildSlot::Kind::starter:
            starters.push_back(slot.item.id);
            break;
        case BuildSlot::Kind::core:
            if (core.size() < 6)
                core.push_back(slot.item.id);
            break;
        case BuildSlot::Kind::boots:
            if (!boots)
                boots = slot.item.id;
            break;
        case BuildSlot::Kind::situational:
            break;
        }
    }
    std::vector<std::pair<QString, std::vector<int64_t>>> rows;
    if (!starters.empty())
        rows.emplace_back(QStringLiteral("START"), starters);
    if (!core.empty())
        rows.emplace_back(QStringLiteral("BUILD"), core);
    if (boots)
        rows.emplace_back(QStringLiteral("BOOTS"), std::vector<int64_t> {*boots});
    return rows;
}

LiveIcon ChampSelectCards::championPortrait(const std::optional<QString>& key, double size) const
{
    LiveIcon icon;
    icon.address = key && images ? DDragonImage::champion(*key, vm.version(), images->dataDragonBase()) : std::nullopt;
    icon.edge = size * s;
    icon.radius = 6;
    icon.images = images;
    return icon;
}

PanelRow ChampSelectCards::pillRow(const QString& text) const
{
    const CaveatPill pill {text, HUD::amber(), s};
    return {QStringLiteral("pill: ") + text, pill.size().height(),
        [pill](QPainter& painter, const QRectF& slot) { pill.paint(painter, slot.topLeft()); }};
}

PanelRow ChampSelectCards::labeledStrip(const QString& label, const std::vector<int64_t>& ids, double size) const
{
    const HudTextStyle labelStyle {winSmall(s), HUD::textSecondary(), 1.0};
    const ItemStrip strip {ids, vm.version(), size, false, s, images};
    const double labelWidth = 44 * s;
    LiveRowItem labelItem {
        QSizeF(labelWidth, labelStyle.lineHeight()), [label, labelStyle, labelWidth](QPainter& p, QPointF at) {
            drawHudLine(p, QRectF(at, QSizeF(labelWidth, labelStyle.lineHeight())), label, labelStyle);
        }};
    LiveRowItem stripItem {strip.frameSize(), [strip](QPainter& p, QPointF at) { strip.paint(p, at); }};
    QStringList idTexts;
    for (const int64_t id : ids)
        idTexts << QString::number(id);
    return horizontalRow(label + QStringLiteral(": ") + idTexts.join(QLatin1Char(' ')), {labelItem, stripItem}, 6);
}

LiveEntry ChampSelectCards::championCard(const QString& name) const
{
    HudColumn column(10);
    std::vector<LiveRowItem> head {
        iconItem(championPortrait(vm.myChampionKey(), 40)), textItem(name, {winBig(s), HUD::textPrimary()})};
    QString headName = QStringLiteral("champion: ") + name;
    if (vm.assignedRole() != MetaRole::unknown) {
        const CaveatPill role {metaRoleRawValue(vm.assignedRole()).toUpper(), HUD::violet(), s};
        head.push_back({role.size(), [role](QPainter& p, QPointF at) { role.paint(p, at); }});
        headName += QStringLiteral(" | ") + role.text;
    }
    column.add(horizontalRow(headName, std::move(head), 10));

    const HudTextStyle body {winBody(s), HUD::textSecondary()};
    const auto& advice = vm.advice();
    if (!advice && !buildAsked(vm.gameMode())) {
        column.add(wrappedRow(noBuildText, body, contentWidth()));
    } else if (!advice) {
        column.add(textRow(QStringLiteral("loading popular runes…"), body));
    } else if (const auto* build = std::get_if<MetaBuild>(&advice->result)) {
        for (const auto& [label, ids] : buildRows(*build, vm.itemCatalog()))
            column.add(labeledStrip(label, ids, label == QStringLiteral("BUILD") ? 30 : 22));
    } else {
        column.add(wrappedRow(std::get<Unavailable>(advice->result).reason, body, contentWidth()));
    }
    if (advice)
        column.add(pillRow(QStringLiteral("Metrion popular · not enemy-specific")));
    return liveCard(QStringLiteral("champion"), HUD::textPrimary(), cardWidth, s, std::move(column));
}

LiveRowItem ChampSelectCards::runeIcon(const RuneInfo& rune, double size, bool glow, bool dim) const
{
    LiveIcon icon;
    icon.address = images ? DDragonImage::rune(rune.icon, images->dataDragonBase()) : std::nullopt;
    icon.edge = size * s;
    icon.radius = icon.edge;
    icon.opacity = dim ? 0.85 : 1.0;
    icon.images = images;
    return {QSizeF(icon.edge, icon.edge), [icon, glow](QPainter& painter, QPointF at) {
                if (glow) {
                    // A soft violet glow behind the keystone, 1.25 times its size.
                    const double edge = icon.edge * 1.25;
                    const QPointF centre = at + QPointF(icon.edge / 2, icon.edge / 2);
                    QRadialGradient gradient(centre, edge / 2 + 7);
                    QColor colour = HUD::violet();
                    colour.setAlphaF(0.22);
                    gradient.setColorAt(0, colour);
                    gradient.setColorAt(edge / (edge + 14), colour);
                    colour.setAlphaF(0);
                    gradient.setColorAt(1, colour);
                    painter.save();
                    painter.setPen(Qt::NoPen);
                    painter.setBrush(gradient);
                    painter.drawEllipse(centre, edge / 2 + 7, edge / 2 + 7);
                    painter.restore();
                }
                icon.paint(painter, at);
            }};
}

LiveRowItem ChampSelectCards::runeChipById(int64_t id, const QString& fallback, double size, bool dim) const
{
    const double width = 74 * s;
    const HudTextStyle nameStyle {winSmall(s), dim ? HUD::textSecondary() : HUD::textPrimary()};
    const auto found = vm.runeCatalog().byId.find(id);
    const bool known = found != vm.runeCatalog().byId.end();
    // At most two lines, shrinking to 75 % before the second line is cut.
    const FittedLines name = fitLines(known ? found->second.name : fallback, nameStyle, width, 2, 0.75);
    if (!known)
        return {QSizeF(width, name.height), [=](QPainter& p, QPointF at) {
                    drawFittedLines(p, QRectF(at, QSizeF(width, name.height)), name, nameStyle);
                }};
    const LiveRowItem icon = runeIcon(found->second, size, false, dim);
    const double gap = 4 * s;
    return {QSizeF(width, icon.size.height() + gap + name.height), [=](QPainter& p, QPointF at) {
                icon.paint(p, at + QPointF((width - icon.size.width()) / 2, 0));
                drawFittedLines(
                    p, QRectF(at + QPointF(0, icon.size.height() + gap), QSizeF(width, name.height)), name, nameStyle);
            }};
}

LiveEntry ChampSelectCards::runesCard(const MetaRunePage& page) const
{
    HudColumn column(10 * s);
    const QString stats = runeStatsLine(page);
    column.add(headerRow(HUDHeader {
        QStringLiteral("Popular runes"), HUD::violet(), stats.isEmpty() ? QStringLiteral("Metrion") : stats, s}));

    // The page block: its own centred column inside the card.
    HudColumn block(11 * s);
    const HudTextStyle trees {winSmall(s), HUD::textSecondary(), 0.8};
    const QString treeNames = page.primaryPageName + QStringLiteral(" + ") + page.secondaryPageName;
    block.add({treeNames, trees.lineHeight(), [treeNames, trees](QPainter& p, const QRectF& slot) {
                   drawHudLine(p, slot, treeNames, trees, Qt::AlignHCenter);
               }});
    const HudTextStyle strong {winStrong(s), HUD::textPrimary()};
    const HudTextStyle small {winSmall(s), HUD::textSecondary()};
    const RuneInfo* keystone = nullptr;
    if (!page.primaryRuneIds.empty()) {
        const auto found = vm.runeCatalog().byId.find(page.primaryRuneIds.front());
        if (found != vm.runeCatalog().byId.end()) {
            keystone = &found->second;
            block.add(centredRow(QStringLiteral("keystone icon"), {runeIcon(*keystone, 52, true, false)}, 0));
        }
        const QString name = keystone ? keystone->name : nameAt(page.primaryRuneNames, 0);
        block.add({QStringLiteral("keystone: ") + name, strong.lineHeight(),
            [name, strong](QPainter& p, const QRectF& slot) { drawHudLine(p, slot, name, strong, Qt::AlignHCenter); }});
    }
    std::vector<LiveRowItem> primary;
    QStringList primaryNames;
    for (size_t i = 1; i < page.primaryRuneIds.size(); ++i) {
        primary.push_back(runeChipById(page.primaryRuneIds[i], nameAt(page.primaryRuneNames, i), 30, false));
        primaryNames << nameAt(page.primaryRuneNames, i);
    }
    block.add(centredRow(QStringLiteral("primary: ") + primaryNames.join(QStringLiteral(", ")), primary, 10, true));
    block.add({QStringLiteral("separator"), 1, [](QPainter& p, const QRectF& slot) {
                   p.fillRect(QRectF(slot.center().x() - 9, slot.top(), 18, 1), HUD::stroke());
               }});
    std::vector<LiveRowItem> secondary;
    QStringList secondaryNames;
    for (size_t i = 0; i < page.secondaryRuneIds.size(); ++i) {
        secondary.push_back(runeChipById(page.secondaryRuneIds[i], nameAt(page.secondaryRuneNames, i), 28, true));
        secondaryNames << nameAt(page.secondaryRuneNames, i);
    }
    block.add(
        centredRow(QStringLiteral("secondary: ") + secondaryNames.join(QStringLiteral(", ")), secondary, 10, true));
    const QString shards = shardsLine(page);
    if (!shards.isEmpty())
        block.add(
            {QStringLiteral("shards: ") + shards, small.lineHeight(), [shards, small](QPainter& p, const QRectF& slot) {
                 drawHudLine(p, slot, shards, small, Qt::AlignHCenter);
             }});
    if (keystone) {
        const QString text = keystone->longDesc;
        const double height = 2 + wrappedTextHeight(text, small, contentWidth());
        block.add({QStringLiteral("description"), height, [text, small](QPainter& p, const QRectF& slot) {
                       drawWrappedText(p, slot.adjusted(0, 2, 0, 0), text, small, Qt::AlignHCenter);
                   }});
    }
    const std::vector<QString> blockNames = block.names();
    column.add(
        {QStringLiteral("page"), block.height(), [block](QPainter& p, const QRectF& slot) { block.paint(p, slot); }});
    column.add(pillRow(QStringLiteral("Metrion popular · not enemy-specific")));
    LiveEntry entry = liveCard(QStringLiteral("runes"), HUD::violet(), cardWidth, s, std::move(column));
    // Tests look into the page block as well.
    entry.rows.insert(entry.rows.begin() + 2, blockNames.begin(), blockNames.end());
    return entry;
}

LiveEntry ChampSelectCards::countersCard() const
{
    HudColumn column(8 * s);
    const QString role
        = vm.assignedRole() == MetaRole::unknown ? QStringLiteral("typical lane") : metaRoleRawValue(vm.assignedRole());
    column.add(headerRow(HUDHeader {QStringLiteral("Counters · ban ideas"), HUD::amber(), role, s}));
    for (const auto& row : vm.counterRows()) {
        std::vector<LiveRowItem> trailing;
        QString name = QStringLiteral("counter: ") + row.name;
        if (row.winRate) {
            const QString text = percent(*row.winRate) + QStringLiteral("% vs you");
            trailing.push_back(textItem(text, {winSmall(s), HUD::amber()}));
            name += QStringLiteral(" | ") + text;
        }
        column.add(horizontalRow(name,
            {iconItem(championPortrait(row.key, 24)), textItem(row.name, {winBody(s), HUD::textPrimary()})}, 8,
            std::move(trailing)));
    }
    column.add(pillRow(QStringLiteral("Metrion all ranks · WR vs your pick")));
    return liveCard(QStringLiteral("counters"), HUD::amber(), cardWidth, s, std::move(column));
}

LiveEntry ChampSelectCards::spellsCard() const
{
    using Kind = ChampSelectViewModel::EnemySpellRec::SpellState::Kind;
    HudColumn column(8 * s);
    column.add(headerRow(
        HUDHeader {QStringLiteral("Spells by lane opponent"), HUD::teal(), QStringLiteral("if your laner is…"), s}));
    const HudTextStyle small {winSmall(s), HUD::textSecondary()};
    const HudTextStyle chipName {winSmall(s), HUD::textPrimary()};
    for (const auto& row : vm.spellRecs()) {
        const double nameWidth = 64 * s;
        const QString enemy = row.enemyName;
        std::vector<LiveRowItem> items {iconItem(championPortrait(row.enemyKey, 22)),
            {QSizeF(nameWidth, small.lineHeight()), [enemy, small, nameWidth](QPainter& p, QPointF at) {
                 drawHudLine(p, QRectF(at, QSizeF(nameWidth, small.lineHeight())), enemy, small, Qt::AlignLeft, 0.8);
             }}};
        QStringList shown;
        switch (row.state.kind) {
        case Kind::loading:
            items.push_back(textItem(QStringLiteral("…"), small));
            shown << QStringLiteral("…");
            break;
        case Kind::unavailable:
            items.push_back(textItem(QStringLiteral("—"), small));
            shown << QStringLiteral("—");
            break;
        case Kind::spells:
            for (const auto& spell : row.state.spells) {
                LiveIcon icon;
                const auto info = vm.spellCatalog().byId.find(spell.id);
                if (info != vm.spellCatalog().byId.end() && images)
                    icon.address
                        = DDragonImage::summonerSpell(info->second.key, vm.version(), images->dataDragonBase());
                icon.edge = 18 * s;
                icon.radius = 4;
                icon.border = false;
                icon.images = images;
                const LiveRowItem iconPart = iconItem(icon);
                const LiveRowItem namePart = textItem(spell.name, chipName);
                const double height = std::max(iconPart.size.height(), namePart.size.height());
                items.push_back({QSizeF(iconPart.size.width() + 4 + namePart.size.width(), height),
                    [iconPart, namePart, height](QPainter& p, QPointF at) {
                        iconPart.paint(p, at + QPointF(0, (height - iconPart.size.height()) / 2));
                        namePart.paint(
                            p, at + QPointF(iconPart.size.width() + 4, (height - namePart.size.height()) / 2));
                    }});
                shown << spell.name;
            }
            break;
        }
        column.add(
            horizontalRow(QStringLiteral("spells: ") + enemy + QStringLiteral(" | ") + shown.join(QStringLiteral(", ")),
                std::move(items), 8));
    }
    column.add(pillRow(QStringLiteral("Metrion matchup · all ranks")));
    return liveCard(QStringLiteral("spells"), HUD::teal(), cardWidth, s, std::move(column));
}

LiveEntry ChampSelectCards::synergyCard(const SynergyDuo& duo, const QString& partner) const
{
    HudColumn column(8 * s);
    column.add(headerRow(HUDHeader {QStringLiteral("Duo synergy"), HUD::gold(), QStringLiteral("experimental"), s}));
    const QString pair = duo.adc + QStringLiteral(" + ") + duo.support;
    const QString score = QString::asprintf("%.1f", duo.score);
    const HudTextStyle scoreStyle {winStrong(s), HUD::gold()};
    const QSizeF capsule = scoreStyle.size(score) + QSizeF(16, 4);
    LiveRowItem scoreItem {capsule, [score, scoreStyle, capsule](QPainter& p, QPointF at) {
                               const QRectF box(at, capsule);
                               const double r = capsule.height() / 2;
                               p.save();
                               p.setRenderHint(QPainter::Antialiasing);
                               p.setPen(Qt::NoPen);
                               p.setBrush(withAlpha(HUD::gold(), 0.16));
                               p.drawRoundedRect(box, r, r);
                               p.setPen(QPen(withAlpha(HUD::gold(), 0.35), 0.5));
                               p.setBrush(Qt::NoBrush);
                               p.drawRoundedRect(box.adjusted(0.25, 0.25, -0.25, -0.25), r - 0.25, r - 0.25);
                               p.restore();
                               drawHudText(p, at + QPointF(8, 2), score, scoreStyle);
                           }};
    column.add(horizontalRow(QStringLiteral("duo: ") + pair + QStringLiteral(" | ") + score,
        {textItem(pair, {winStrong(s), HUD::textPrimary()}), scoreItem}, 8));
    column.add(textRow(QStringLiteral("with ") + partner, {winSmall(s), HUD::textSecondary()}));
    column.add(wrappedRow(joined(duo.readableChannels()), {winSmall(s), HUD::textPrimary()}, contentWidth()));
    column.add(pillRow(QStringLiteral("synergy potential · not a win-rate")));
    return liveCard(QStringLiteral("synergy"), HUD::gold(), cardWidth, s, std::move(column));
}

LiveEntry ChampSelectCards::enemyCard() const
{
    HudColumn column(7);
    column.add(headerRow(HUDHeader {QStringLiteral("Enemy team"), HUD::teal(), QStringLiteral("context"), s}));
    if (vm.enemyKnown() && !vm.enemyNames().empty()) {
        std::vector<LiveRowItem> portraits;
        for (const auto& key : vm.enemyKeys())
            portraits.push_back(iconItem(championPortrait(key.isEmpty() ? std::nullopt : std::optional(key), 28)));
        // Named before the row takes the list: the arguments may be evaluated in any order.
        const QString name = QStringLiteral("portraits: %1").arg(portraits.size());
        column.add(horizontalRow(name, std::move(portraits), 6));
        QStringList names;
        for (const auto& name : vm.enemyNames())
            names << name;
        column.add(wrappedRow(joined(names), {winSmall(s), HUD::textPrimary()}, contentWidth()));
    } else {
        column.add(
            textRow(QStringLiteral("hidden (blind pick / not yet revealed)"), {winBody(s), HUD::textSecondary()}));
    }
    column.add(wrappedRow(
        QStringLiteral(
            "Shown for context only — the runes above are popular for your champion, not tuned to this comp."),
        {winSmall(s), HUD::textSecondary()}, contentWidth()));
    return liveCard(QStringLiteral("enemy"), HUD::teal(), cardWidth, s, std::move(column));
}

} // namespace tolvane
