#pragma once
// Turns a results document into the items of a threat tree, without any window:
// the fix and review pages insert the items into their tree controls in order.
#include <string>
#include <vector>

#include "XmlNodeWrapper.h"

struct ResultsTreeItem {
  std::wstring text;
  int image = 0;
  bool bold = false;
  int parent = -1;  // index of the parent item; -1 for the tree's root
  bool isThreat = false;
};

// Visits the document element: "threats" and elements of other names are transparent,
// a "threat" with actionRequested "2" gives no item and neither do its traces, a "trace"
// with an empty dispValue gives no item. Document order throughout.
std::vector<ResultsTreeItem> BuildResultsTree(const CXmlNodeWrapper& documentElement);
