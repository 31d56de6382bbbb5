#include "formats/RtfContent.h"

namespace rtf::detail {

namespace {

constexpr qsizetype kSpareCharacters = 16;
constexpr size_t kMaxTabStops = 32; // as many as the rich edit control keeps

} // namespace

ContentCollector::ContentCollector(qsizetype expectedLength)
    : m_capacity(expectedLength + kSpareCharacters)
{
    m_content.tabLists.emplace_back();
    m_content.text.resize(m_capacity);
    m_buffer = reinterpret_cast<char16_t *>(m_content.text.data());
}

void ContentCollector::grow()
{
    m_capacity *= 2;
    m_content.text.resize(m_capacity);
    m_buffer = reinterpret_cast<char16_t *>(m_content.text.data());
}

int ContentCollector::charFormat(const CharKey &key)
{
    const auto it = m_charIndex.constFind(key);
    if (it != m_charIndex.constEnd())
        return it.value();
    const int index = int(m_content.charFormats.size());
    m_content.charFormats.push_back(key);
    m_charIndex.insert(key, index);
    return index;
}

int ContentCollector::paraFormat(const ParaKey &key)
{
    const auto it = m_paraIndex.constFind(key);
    if (it != m_paraIndex.constEnd())
        return it.value();
    const int index = int(m_content.paraFormats.size());
    m_content.paraFormats.push_back(key);
    m_paraIndex.insert(key, index);
    return index;
}

void ContentCollector::openRun(Target target, const CharKey &key)
{
    if (m_openTarget == target && key == m_openKey)
        return;
    closeRun();
    const int format = charFormat(key);
    std::vector<Run> &runs = target == Target::MainText ? m_content.runs : m_numberRuns;
    const bool sameBlock = target != Target::MainText || runs.size() > m_blockRunStart;
    m_openTarget = target;
    m_openKey = key;
    if (sameBlock && !runs.empty() && runs.back().format == format
        && runs.back().start + runs.back().length == m_size)
        return; // continues the previous run
    runs.push_back({format, m_size, 0});
}

void ContentCollector::closeRun()
{
    if (m_openTarget == Target::None)
        return;
    Run &run = (m_openTarget == Target::MainText ? m_content.runs : m_numberRuns).back();
    run.length = m_size - run.start;
    m_openTarget = Target::None;
}

void ContentCollector::addImage(Image image)
{
    closeRun();
    m_content.runs.push_back({-int(m_content.images.size()) - 1, m_size, 0});
    m_content.images.push_back(std::move(image));
}

QString ContentCollector::numberText() const
{
    QString text;
    for (const Run &run : m_numberRuns)
        text += QStringView(m_buffer + run.start, run.length);
    return text;
}

void ContentCollector::numberTextIsText()
{
    closeRun();
    m_content.runs.insert(m_content.runs.begin() + std::ptrdiff_t(m_blockRunStart), m_numberRuns.begin(),
                          m_numberRuns.end());
    m_numberRuns.clear();
}

void ContentCollector::endParagraph(const ParaKey &paragraph, const CharKey &mark, int shownNumber)
{
    closeRun();
    if (paragraph.list == 0 && !m_numberRuns.empty()) {
        m_content.runs.insert(m_content.runs.begin() + std::ptrdiff_t(m_blockRunStart),
                              m_numberRuns.begin(), m_numberRuns.end());
    }
    m_numberRuns.clear();
    const int para = paraFormat(paragraph);
    const int chr = charFormat(mark);
    m_content.blocks.push_back(
        {para, chr, m_blockRunStart, m_content.runs.size() - m_blockRunStart, shownNumber});
    m_blockRunStart = m_content.runs.size();
}

int ContentCollector::addTabStop(int base, TabStop stop)
{
    const quint64 key = (quint64(quint32(base)) << 32) | (quint64(quint32(stop.twips)) << 2) | stop.kind;
    const auto it = m_tabSteps.constFind(key);
    if (it != m_tabSteps.constEnd())
        return it.value();
    if (m_content.tabLists[size_t(base)].size() >= kMaxTabStops)
        return base;
    std::vector<TabStop> stops = m_content.tabLists[size_t(base)];
    stops.push_back(stop);
    const int index = int(m_content.tabLists.size());
    m_content.tabLists.push_back(std::move(stops));
    m_tabSteps.insert(key, index);
    return index;
}

int ContentCollector::addLink(const QString &address)
{
    const auto it = m_linkIndex.constFind(address);
    if (it != m_linkIndex.constEnd())
        return it.value();
    const int index = int(m_content.links.size());
    m_content.links.push_back(address);
    m_linkIndex.insert(address, index);
    return index;
}

int ContentCollector::addHiddenText(QString text)
{
    m_content.hiddenTexts.push_back(std::move(text));
    return int(m_content.hiddenTexts.size()) - 1;
}

Content ContentCollector::take(std::vector<QString> families)
{
    m_buffer = nullptr;
    m_content.families = std::move(families);
    return std::move(m_content);
}

} // namespace rtf::detail
