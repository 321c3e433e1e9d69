// The bones tree of a skeletal model.
#pragma once

#include <QString>
#include <vector>

class QTreeWidget;

struct TBoneNode {
    QString name;
    int parent = -1;  // index into the bone list, -1 for a root
};

// One node per bone in bone order; a bone hangs under its parent's node, also when the parent
// is listed after it. A bone whose chain of parents leaves the list or runs in a loop becomes
// a root, so a damaged list still shows every bone exactly once.
void BuildBonesTree(QTreeWidget* tree, const std::vector<TBoneNode>& bones);
