#pragma once
// The results file opened for display, as a DOM document held by the reading page.
#include "ScanResultsState.h"
#include "XmlDocumentWrapper.h"

// Ensures the path (asking the service once more when needed) and loads the file
// into document. An unusable path reports the results as unavailable and gives false;
// a file that does not load leaves document without a root (an empty tree).
bool LoadResultsForDisplay(ScanResultsState& state, const ResultsPathQuery& ask, CXmlDocumentWrapper& document);
