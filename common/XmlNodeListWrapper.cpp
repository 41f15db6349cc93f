#include "XmlNodeListWrapper.h"

#include "XmlException.h"

long CXmlNodeListWrapper::Count() const {
  if (!list_) return 0;
  long count = 0;
  ThrowIfXmlFailed(list_->get_length(&count));
  return count;
}

CXmlNodeWrapper CXmlNodeListWrapper::Node(long index) const {
  if (!list_) return {};
  CXmlComRef<IXMLDOMNode> node;
  ThrowIfXmlFailed(list_->get_item(index, node.put()));
  return CXmlNodeWrapper(node.get());
}
