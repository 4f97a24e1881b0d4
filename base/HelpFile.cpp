#include "base/HelpFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QStringList>

namespace vesmarin {

namespace {

bool IsBlank(const QString& line) {
    return line.trimmed().isEmpty();
}

bool IsComment(const QString& line) {
    const QString t = line.trimmed();
    return !t.isEmpty() && t.front() == QLatin1Char('#');
}

// The topic number of a header line "[10010]", or -1.
int HeaderNumber(const QString& line) {
    const QString t = line.trimmed();
    if (t.size() < 3 || t.front() != QLatin1Char('[') || t.back() != QLatin1Char(']'))
        return -1;
    const QString digits = t.mid(1, t.size() - 2).trimmed();
    if (digits.isEmpty())
        return -1;
    for (const QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
    bool ok = false;
    const int number = digits.toInt(&ok);
    return ok ? number : -1;
}

// Joins the lines of one topic: lines next to each other make a paragraph, blank lines part paragraphs.
QString TopicText(const QStringList& lines) {
    QStringList paragraphs;
    QString current;
    for (const QString& line : lines) {
        if (IsBlank(line)) {
            if (!current.isEmpty())
                paragraphs.append(current);
            current.clear();
            continue;
        }
        if (!current.isEmpty())
            current += QLatin1Char(' ');
        current += line.trimmed();
    }
    if (!current.isEmpty())
        paragraphs.append(current);
    return paragraphs.join(QStringLiteral("\n\n"));
}

QString Message(HelpLookup::Outcome outcome, const QString& file, int topic, HelpLanguage language) {
    const QString name = QDir::toNativeSeparators(file);
    const QString number = QString::number(topic);
    const bool greek = language == HelpLanguage::Greek;
    switch (outcome) {
    case HelpLookup::Outcome::MissingFile:
        return greek ? QStringLiteral("Το αρχείο βοήθειας «%1» δεν βρέθηκε, γι' αυτό δεν είναι δυνατόν να "
                                      "εμφανιστεί το θέμα %2.")
                           .arg(name, number)
                     : QStringLiteral("The help file '%1' cannot be found, so topic %2 cannot be shown.")
                           .arg(name, number);
    case HelpLookup::Outcome::UnreadableFile:
        return greek ? QStringLiteral("Το αρχείο βοήθειας «%1» δεν είναι δυνατόν να διαβαστεί, γι' αυτό δεν "
                                      "είναι δυνατόν να εμφανιστεί το θέμα %2.")
                           .arg(name, number)
                     : QStringLiteral("The help file '%1' cannot be read, so topic %2 cannot be shown.")
                           .arg(name, number);
    case HelpLookup::Outcome::MissingTopic:
        return greek ? QStringLiteral("Το αρχείο βοήθειας «%1» δεν περιέχει το θέμα %2.").arg(name, number)
                     : QStringLiteral("The help file '%1' holds no topic %2.").arg(name, number);
    case HelpLookup::Outcome::Found:
        break;
    }
    return {};
}

} // namespace

QHash<int, QString> ParseHelpText(const QByteArray& utf8) {
    QByteArray bytes = utf8;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    const QString text = QString::fromUtf8(bytes);

    QHash<int, QString> topics;
    int topic = -1;
    QStringList lines;
    const auto finish = [&] {
        if (topic >= 0 && !topics.contains(topic)) {
            const QString body = TopicText(lines);
            if (!body.isEmpty())
                topics.insert(topic, body);
        }
        lines.clear();
    };
    // Any of CR LF, LF or CR ends a line.
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalised.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (const QString& line : normalised.split(QLatin1Char('\n'))) {
        if (IsComment(line))
            continue;
        const int number = HeaderNumber(line);
        if (number >= 0) {
            finish();
            topic = number;
            continue;
        }
        if (topic >= 0)
            lines.append(line);
    }
    finish();
    return topics;
}

HelpLookup HelpEngine::lookup(const QString& file, int topic, HelpLanguage language) {
    using Outcome = HelpLookup::Outcome;
    const auto failure = [&](Outcome outcome) {
        return HelpLookup{outcome, Message(outcome, file, topic, language)};
    };

    const QFileInfo info(file);
    if (!info.exists())
        return failure(Outcome::MissingFile);

    std::lock_guard lock(mutex_);
    const QDateTime modified = info.lastModified();
    const qint64 size = info.size();
    auto cached = cache_.find(file);
    if (cached == cache_.end() || cached->modified != modified || cached->size != size) {
        if (cached != cache_.end())
            cache_.erase(cached);
        QFile f(file);
        if (info.isDir() || !f.open(QIODevice::ReadOnly))
            return failure(Outcome::UnreadableFile);
        const QByteArray bytes = f.readAll();
        if (f.error() != QFileDevice::NoError)
            return failure(Outcome::UnreadableFile);
        cached = cache_.insert(file, Parsed{modified, size, ParseHelpText(bytes)});
    }
    const auto text = cached->topics.constFind(topic);
    if (text == cached->topics.constEnd())
        return failure(Outcome::MissingTopic);
    return {Outcome::Found, *text};
}

void HelpEngine::clear() {
    std::lock_guard lock(mutex_);
    cache_.clear();
}

HelpEngine& SharedHelpEngine() {
    static HelpEngine engine;
    return engine;
}

} // namespace vesmarin
