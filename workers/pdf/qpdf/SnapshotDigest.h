#pragma once

// Canonical SHA-256 digests of parts of a document's object graph, for the
// revision snapshot: equal object graphs give equal digests whatever their
// byte layout, and acyclic parts (fonts, images, content streams) whatever
// their object numbers.
//
// Each indirect object is read once per snapshot: its own content is
// written with every followed reference as a slot and the referenced
// objects go on a work list, so an object's digest never depends on the
// path that reached it and the cost stays linear in the reachable objects.
// Objects are grouped into strongly connected components (iteratively, no
// recursion over references): an object outside any cycle is digested from
// its content and the digests of what it refers to; objects on a cycle
// write references inside their cycle by object number ("ref:") and share
// one digest of the whole cycle, so a change anywhere on it shows.
//
// /Parent and /P are written as reference text and never followed, the
// /Annots of page dictionaries are skipped (page annotations and widgets
// have their own entries in the snapshot), and a page is followed only
// from the /Kids of its page tree node: a link, a bookmark or an action
// names a page by reference, so a change to a page's content shows in
// "base" alone.
//
// One per snapshot, on the worker's single thread; failures are
// QpdfFailure with "snapshot complexity", "snapshot keys", "snapshot
// array" or "snapshot stream".

#include "qpdf/Qpdf.h"
#include "qpdf/SnapshotLimits.h"

#include <QByteArray>
#include <QHash>
#include <QList>

#include <vector>

namespace velk {

class SnapshotDigest {
public:
    SnapshotDigest(Qpdf& qpdf, const SnapshotLimits& limits);

    // 64 lower-case hex digits. Keys listed are left out of the object
    // itself (not of what it refers to). A scalar digests as its text, so
    // the null object gives SHA-256("null").
    QByteArray snapshotDigest(qpdf_oh handle, const QList<QByteArray>& excludedKeys = {});

    // One object or item visited; shared with the page walk.
    void countVisit();
    qint64 visits() const { return m_visits; }

private:
    struct Slot {
        qsizetype offset;
        int target;
    };
    struct Node {
        qpdf_oh handle = 0;
        bool ownsHandle = false;
        int number = 0;
        int generation = 0;
        QList<QByteArray> excluded;
        QByteArray text;
        std::vector<Slot> slots;
        std::vector<int> edges;
        int index = -1;
        int lowlink = -1;
        int component = -1;
        bool onStack = false;
        bool selfEdge = false;
        // Hex digest once the node's component is complete.
        QByteArray closure;
    };

    int nodeFor(qpdf_oh handle, int number, bool owned);
    void traverse(int root);
    void materialise(int node);
    void finishComponent(const std::vector<int>& members);
    QByteArray resolvedText(const Node& node, int component) const;

    void writeValue(int node, qpdf_oh value, int depth, bool top, bool followPages = false);
    void writeReference(int node, qpdf_oh value, int number);
    void writeDictionary(int node, qpdf_oh dictionary, int depth, const QList<QByteArray>& excluded);
    void writeArray(int node, qpdf_oh array, int depth, bool followPages);
    void writeStream(int node, qpdf_oh stream, int depth);
    QByteArray streamDataDigest(qpdf_oh stream, int number, int generation);
    QByteArray typeOf(qpdf_oh dictionary);

    Qpdf& m_qpdf;
    SnapshotLimits m_limits;
    std::vector<Node> m_nodes;
    QHash<quint64, int> m_nodeByObject;
    QHash<quint64, QByteArray> m_streamDigests;
    qint64 m_visits = 0;
    qint64 m_streamBytes = 0;
    int m_nextIndex = 0;
    int m_nextComponent = 0;
};

} // namespace velk
