#include "qpdf/SnapshotDigest.h"

#include <QCryptographicHash>

#include <algorithm>

namespace velk {

namespace {

constexpr char kAnnotsKey[] = "/Annots";
constexpr char kLengthKey[] = "/Length";

quint64 objectKey(int number, int generation)
{
    return (quint64(quint32(number)) << 32) | quint32(generation);
}

QByteArray sha256(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

// A length-prefixed token, so that no two different contents write the
// same bytes.
QByteArray token(char kind, const QByteArray& text)
{
    return kind + QByteArray::number(text.size()) + ':' + text;
}

QByteArray referenceText(int number, int generation)
{
    return QByteArray::number(number) + ' ' + QByteArray::number(generation) + " R";
}

bool isParentLink(const QByteArray& key)
{
    return key == "/Parent" || key == "/P";
}

} // namespace

SnapshotDigest::SnapshotDigest(Qpdf& qpdf, const SnapshotLimits& limits)
    : m_qpdf(qpdf)
    , m_limits(limits)
{
}

void SnapshotDigest::countVisit()
{
    if (++m_visits > m_limits.maxVisits)
        throw QpdfFailure("snapshot complexity");
}

QByteArray SnapshotDigest::snapshotDigest(qpdf_oh handle, const QList<QByteArray>& excludedKeys)
{
    const int number = m_qpdf.objectNumber(handle);
    int root = -1;
    if (number != 0 && excludedKeys.isEmpty()) {
        root = nodeFor(handle, number, false);
    } else {
        // An object with keys left out is not the object others refer to.
        root = int(m_nodes.size());
        Node node;
        node.handle = handle;
        node.excluded = excludedKeys;
        m_nodes.push_back(std::move(node));
    }
    if (m_nodes[size_t(root)].closure.isEmpty())
        traverse(root);
    return m_nodes[size_t(root)].closure;
}

int SnapshotDigest::nodeFor(qpdf_oh handle, int number, bool owned)
{
    const int generation = m_qpdf.generation(handle);
    const quint64 key = objectKey(number, generation);
    const auto found = m_nodeByObject.constFind(key);
    if (found != m_nodeByObject.constEnd()) {
        if (owned)
            m_qpdf.release(handle);
        return found.value();
    }
    Node node;
    node.handle = handle;
    node.ownsHandle = owned;
    node.number = number;
    node.generation = generation;
    m_nodes.push_back(std::move(node));
    const int index = int(m_nodes.size()) - 1;
    m_nodeByObject.insert(key, index);
    return index;
}

// Tarjan's strongly connected components over the references followed,
// with an explicit stack: long /Next chains cost no native stack.
void SnapshotDigest::traverse(int root)
{
    struct Frame {
        int node;
        size_t next;
    };
    std::vector<Frame> frames;
    std::vector<int> open;
    const auto enter = [&](int node) {
        materialise(node);
        Node& entered = m_nodes[size_t(node)];
        entered.index = entered.lowlink = m_nextIndex++;
        entered.onStack = true;
        open.push_back(node);
        frames.push_back({node, 0});
    };
    enter(root);
    while (!frames.empty()) {
        Frame& frame = frames.back();
        const int current = frame.node;
        if (frame.next < m_nodes[size_t(current)].edges.size()) {
            const int target = m_nodes[size_t(current)].edges[frame.next++];
            const Node& next = m_nodes[size_t(target)];
            if (!next.closure.isEmpty())
                continue;
            if (next.index < 0) {
                enter(target);
            } else if (next.onStack) {
                Node& node = m_nodes[size_t(current)];
                node.lowlink = std::min(node.lowlink, next.index);
            }
            continue;
        }
        frames.pop_back();
        const Node& done = m_nodes[size_t(current)];
        if (!frames.empty()) {
            Node& parent = m_nodes[size_t(frames.back().node)];
            parent.lowlink = std::min(parent.lowlink, done.lowlink);
        }
        if (done.lowlink != done.index)
            continue;
        std::vector<int> members;
        int member = -1;
        do {
            member = open.back();
            open.pop_back();
            m_nodes[size_t(member)].onStack = false;
            members.push_back(member);
        } while (member != current);
        finishComponent(members);
    }
}

void SnapshotDigest::materialise(int node)
{
    const qpdf_oh handle = m_nodes[size_t(node)].handle;
    writeValue(node, handle, 0, true);
    if (m_nodes[size_t(node)].ownsHandle)
        m_qpdf.release(handle);
    m_nodes[size_t(node)].handle = 0;
}

QByteArray SnapshotDigest::resolvedText(const Node& node, int component) const
{
    QByteArray result;
    qsizetype from = 0;
    for (const Slot& slot : node.slots) {
        result.append(node.text.constData() + from, slot.offset - from);
        const Node& target = m_nodes[size_t(slot.target)];
        if (target.component == component)
            result += token('c', "ref:" + referenceText(target.number, target.generation));
        else
            result += 'r' + target.closure;
        from = slot.offset;
    }
    result.append(node.text.constData() + from, node.text.size() - from);
    return result;
}

void SnapshotDigest::finishComponent(const std::vector<int>& members)
{
    const int component = m_nextComponent++;
    for (const int member : members)
        m_nodes[size_t(member)].component = component;
    const bool cyclic = members.size() > 1 || m_nodes[size_t(members.front())].selfEdge;
    std::vector<std::pair<quint64, QByteArray>> locals;
    for (const int member : members) {
        const Node& node = m_nodes[size_t(member)];
        locals.emplace_back(objectKey(node.number, node.generation), sha256(resolvedText(node, component)));
    }
    if (!cyclic) {
        m_nodes[size_t(members.front())].closure = locals.front().second.toHex();
    } else {
        // One digest of the whole cycle, independent of where it was entered.
        std::sort(locals.begin(), locals.end());
        QByteArray whole;
        for (const auto& [key, local] : locals)
            whole += QByteArray::number(key) + ':' + local;
        const QByteArray cycle = sha256(whole);
        for (const int member : members) {
            Node& node = m_nodes[size_t(member)];
            node.closure = sha256("cycle " + referenceText(node.number, node.generation) + ' ' + cycle).toHex();
        }
    }
    for (const int member : members) {
        Node& node = m_nodes[size_t(member)];
        node.text = QByteArray();
        node.excluded.clear();
        std::vector<Slot>().swap(node.slots);
        std::vector<int>().swap(node.edges);
    }
}

void SnapshotDigest::writeValue(int node, qpdf_oh value, int depth, bool top, bool followPages)
{
    countVisit();
    if (depth > m_limits.maxDirectDepth)
        throw QpdfFailure("snapshot complexity");
    if (!top) {
        const int number = m_qpdf.objectNumber(value);
        if (number != 0 && !followPages && m_qpdf.isDictionary(value) && typeOf(value) == "/Page") {
            m_nodes[size_t(node)].text += token('g', m_qpdf.unparse(value));
            m_qpdf.release(value);
            return;
        }
        if (number != 0) {
            writeReference(node, value, number);
            return;
        }
    }
    if (m_qpdf.isStream(value)) {
        writeStream(node, value, depth);
    } else if (m_qpdf.isDictionary(value)) {
        writeDictionary(node, value, depth, top ? m_nodes[size_t(node)].excluded : QList<QByteArray>{});
    } else if (m_qpdf.isArray(value)) {
        writeArray(node, value, depth, followPages);
    } else if (top) {
        m_nodes[size_t(node)].text += m_qpdf.unparseResolved(value);
    } else {
        m_nodes[size_t(node)].text += token('s', m_qpdf.unparseResolved(value));
    }
    if (!top)
        m_qpdf.release(value);
}

void SnapshotDigest::writeReference(int node, qpdf_oh value, int number)
{
    const int target = nodeFor(value, number, true);
    Node& source = m_nodes[size_t(node)];
    source.slots.push_back({source.text.size(), target});
    source.edges.push_back(target);
    if (target == node)
        source.selfEdge = true;
}

QByteArray SnapshotDigest::typeOf(qpdf_oh dictionary)
{
    const qpdf_oh type = m_qpdf.key(dictionary, "/Type");
    const QByteArray text = m_qpdf.unparse(type);
    m_qpdf.release(type);
    return text;
}

void SnapshotDigest::writeDictionary(int node, qpdf_oh dictionary, int depth, const QList<QByteArray>& excluded)
{
    QList<QByteArray> names;
    try {
        names = m_qpdf.keys(dictionary, m_limits.maxKeys);
    } catch (const QpdfFailure&) {
        throw QpdfFailure("snapshot keys");
    }
    std::sort(names.begin(), names.end());
    const QByteArray type = typeOf(dictionary);
    const bool page = type == "/Page";
    const bool pageTree = type == "/Pages";
    m_nodes[size_t(node)].text += "d{";
    for (const QByteArray& name : names) {
        if (excluded.contains(name) || (page && name == kAnnotsKey))
            continue;
        m_nodes[size_t(node)].text += token('k', name);
        const qpdf_oh value = m_qpdf.key(dictionary, name.constData());
        if (isParentLink(name)) {
            countVisit();
            m_nodes[size_t(node)].text += token('p', m_qpdf.unparse(value));
            m_qpdf.release(value);
        } else {
            writeValue(node, value, depth + 1, false, pageTree && name == "/Kids");
        }
    }
    m_nodes[size_t(node)].text += '}';
}

void SnapshotDigest::writeArray(int node, qpdf_oh array, int depth, bool followPages)
{
    const int count = m_qpdf.arraySize(array);
    if (count > m_limits.maxArrayItems)
        throw QpdfFailure("snapshot array");
    m_nodes[size_t(node)].text += "a[";
    for (int index = 0; index < count; ++index)
        writeValue(node, m_qpdf.arrayItem(array, index), depth + 1, false, followPages);
    m_nodes[size_t(node)].text += ']';
}

void SnapshotDigest::writeStream(int node, qpdf_oh stream, int depth)
{
    const Node& owner = m_nodes[size_t(node)];
    const QByteArray data = streamDataDigest(stream, owner.number, owner.generation);
    m_nodes[size_t(node)].text += 'S' + data;
    const qpdf_oh dictionary = m_qpdf.streamDictionary(stream);
    writeDictionary(node, dictionary, depth + 1, {QByteArray(kLengthKey)});
    m_qpdf.release(dictionary);
}

// Raw data as stored, no filter decoded; each stream is read and counted
// once per snapshot however many digests reach it.
QByteArray SnapshotDigest::streamDataDigest(qpdf_oh stream, int number, int generation)
{
    const quint64 key = objectKey(number, generation);
    const auto found = m_streamDigests.constFind(key);
    if (found != m_streamDigests.constEnd())
        return found.value();
    QByteArray data;
    try {
        data = m_qpdf.streamData(stream, kQpdfDecodeNone);
    } catch (const QpdfFailure&) {
        throw QpdfFailure("snapshot stream");
    }
    if (data.size() > m_limits.maxStreamBytes || data.size() > m_limits.maxTotalStreamBytes - m_streamBytes)
        throw QpdfFailure("snapshot stream");
    m_streamBytes += data.size();
    const QByteArray digest = sha256(data).toHex();
    if (number != 0)
        m_streamDigests.insert(key, digest);
    return digest;
}

} // namespace velk
