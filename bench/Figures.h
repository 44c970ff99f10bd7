// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>
#include <QString>

#include <cstdio>
#include <optional>
#include <vector>

// The benchmark's results as one list: each figure prints its row of the table as it is added, and
// the same list gives the JSON. A figure with a limit is a target, and says whether it is met.
class Figures
{
public:
    struct Limit {
        double value;
        bool atMost = true;
    };

    /// Starts a group of figures: a heading in the table, an object named key in the JSON.
    void section(const QString &key, const QString &heading)
    {
        section_ = key;
        std::printf("\n%s\n", qPrintable(heading));
    }

    /// Adds a figure to the current group and prints its row; its JSON name is its label's words.
    void add(const QString &label, double value, const char *unit = "", int decimals = 2,
             std::optional<Limit> limit = std::nullopt)
    {
        static const QRegularExpression notAWord(QStringLiteral("[^a-z0-9]+"));
        const QString key = label.toLower().replace(notAWord, QStringLiteral("_"));
        const Figure &figure = figures_.emplace_back(Figure{section_, key, value, limit});
        const QString target = !limit ? QString()
                                      : QStringLiteral("target %1 %2: %3")
                                            .arg(limit->atMost ? "<=" : ">=")
                                            .arg(limit->value)
                                            .arg(figure.met() ? "met" : "MISSED");
        std::printf("  %-58s %11.*f %-4s %s\n", qPrintable(label), decimals, value, unit, qPrintable(target));
        std::fflush(stdout);
    }

    /// Every figure by group, and the targets with whether each was met.
    QJsonObject json() const
    {
        QJsonObject json;
        QJsonArray targets;
        for (const Figure &f : figures_) {
            QJsonObject group = json.value(f.section).toObject();
            group.insert(f.key, f.value);
            json.insert(f.section, group);
            if (f.limit) {
                targets.append(QJsonObject{{QStringLiteral("name"), f.section + u'.' + f.key},
                                           {QStringLiteral("value"), f.value},
                                           {QStringLiteral("limit"), f.limit->value},
                                           {QStringLiteral("at_most"), f.limit->atMost},
                                           {QStringLiteral("met"), f.met()}});
            }
        }
        json.insert(QStringLiteral("targets"), targets);
        return json;
    }

private:
    struct Figure {
        QString section;
        QString key;
        double value;
        std::optional<Limit> limit;
        bool met() const { return !limit || (limit->atMost ? value <= limit->value : value >= limit->value); }
    };

    QString section_;
    std::vector<Figure> figures_;
};
