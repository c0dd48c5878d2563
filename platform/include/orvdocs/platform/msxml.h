// The XML DOM document service: the DOM interfaces with the platform's names,
// identifiers, member order and signatures (LONG where the platform has long).
//
// The service is a built-in class of the platform, created with
// CoCreateInstance(CLSID_DOMDocument40, ...) or the ProgID "Msxml2.DOMDocument.4.0".
// Members the service does not support answer E_NOTIMPL; docs/dom.md lists
// them and describes the written form, node identity and the locking rules.
#pragma once

#include "oleauto.h"

inline constexpr CLSID CLSID_DOMDocument40 = {0x88D969C0, 0xF192, 0x11D4, {0xA6, 0x5F, 0x00, 0x40, 0x96, 0x32, 0x51, 0xE5}};
inline constexpr const char16_t* PROGID_DOMDocument40 = u"Msxml2.DOMDocument.4.0";

inline constexpr IID IID_IXMLDOMNode = {0x2933BF80, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
inline constexpr IID IID_IXMLDOMDocument = {0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
inline constexpr IID IID_IXMLDOMNodeList = {0x2933BF82, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
inline constexpr IID IID_IXMLDOMNamedNodeMap = {0x2933BF83, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
inline constexpr IID IID_IXMLDOMCharacterData = {0x2933BF84, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
inline constexpr IID IID_IXMLDOMAttribute = {0x2933BF85, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
inline constexpr IID IID_IXMLDOMElement = {0x2933BF86, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
inline constexpr IID IID_IXMLDOMText = {0x2933BF87, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
inline constexpr IID IID_IXMLDOMComment = {0x2933BF88, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
inline constexpr IID IID_IXMLDOMProcessingInstruction = {0x2933BF89, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
inline constexpr IID IID_IXMLDOMCDATASection = {0x2933BF8A, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
inline constexpr IID IID_IXMLDOMDocumentType = {0x2933BF8B, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
inline constexpr IID IID_IXMLDOMEntityReference = {0x2933BF8E, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
inline constexpr IID IID_IXMLDOMImplementation = {0x2933BF8F, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
inline constexpr IID IID_IXMLDOMDocument2 = {0x2933BF95, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
inline constexpr IID IID_IXMLDOMDocumentFragment = {0x3EFAA413, 0x272F, 0x11D2, {0x83, 0x6F, 0x00, 0x00, 0xF8, 0x7A, 0x77, 0x82}};
inline constexpr IID IID_IXMLDOMParseError = {0x3EFAA426, 0x272F, 0x11D2, {0x83, 0x6F, 0x00, 0x00, 0xF8, 0x7A, 0x77, 0x82}};
inline constexpr IID IID_IXMLDOMSchemaCollection = {0x373984C8, 0xB845, 0x449B, {0x91, 0xE7, 0x45, 0xAC, 0x83, 0x03, 0x6A, 0xDE}};

enum tagDOMNodeType {
    NODE_INVALID = 0,
    NODE_ELEMENT = 1,
    NODE_ATTRIBUTE = 2,
    NODE_TEXT = 3,
    NODE_CDATA_SECTION = 4,
    NODE_ENTITY_REFERENCE = 5,
    NODE_ENTITY = 6,
    NODE_PROCESSING_INSTRUCTION = 7,
    NODE_COMMENT = 8,
    NODE_DOCUMENT = 9,
    NODE_DOCUMENT_TYPE = 10,
    NODE_DOCUMENT_FRAGMENT = 11,
    NODE_NOTATION = 12
};
using DOMNodeType = tagDOMNodeType;

struct IXMLDOMNode;
struct IXMLDOMNodeList;
struct IXMLDOMNamedNodeMap;
struct IXMLDOMDocument;
struct IXMLDOMDocumentType;
struct IXMLDOMImplementation;
struct IXMLDOMElement;
struct IXMLDOMDocumentFragment;
struct IXMLDOMText;
struct IXMLDOMComment;
struct IXMLDOMCDATASection;
struct IXMLDOMProcessingInstruction;
struct IXMLDOMAttribute;
struct IXMLDOMEntityReference;
struct IXMLDOMParseError;
struct IXMLDOMSchemaCollection;

struct IXMLDOMNode : IDispatch {
    virtual HRESULT get_nodeName(BSTR* name) = 0;
    virtual HRESULT get_nodeValue(VARIANT* value) = 0;
    virtual HRESULT put_nodeValue(VARIANT value) = 0;
    virtual HRESULT get_nodeType(DOMNodeType* type) = 0;
    virtual HRESULT get_parentNode(IXMLDOMNode** parent) = 0;
    virtual HRESULT get_childNodes(IXMLDOMNodeList** childList) = 0;
    virtual HRESULT get_firstChild(IXMLDOMNode** firstChild) = 0;
    virtual HRESULT get_lastChild(IXMLDOMNode** lastChild) = 0;
    virtual HRESULT get_previousSibling(IXMLDOMNode** previousSibling) = 0;
    virtual HRESULT get_nextSibling(IXMLDOMNode** nextSibling) = 0;
    virtual HRESULT get_attributes(IXMLDOMNamedNodeMap** attributeMap) = 0;
    virtual HRESULT insertBefore(IXMLDOMNode* newChild, VARIANT refChild, IXMLDOMNode** outNewChild) = 0;
    virtual HRESULT replaceChild(IXMLDOMNode* newChild, IXMLDOMNode* oldChild, IXMLDOMNode** outOldChild) = 0;
    virtual HRESULT removeChild(IXMLDOMNode* childNode, IXMLDOMNode** oldChild) = 0;
    virtual HRESULT appendChild(IXMLDOMNode* newChild, IXMLDOMNode** outNewChild) = 0;
    virtual HRESULT hasChildNodes(VARIANT_BOOL* hasChild) = 0;
    virtual HRESULT get_ownerDocument(IXMLDOMDocument** XMLDOMDocument) = 0;
    virtual HRESULT cloneNode(VARIANT_BOOL deep, IXMLDOMNode** cloneRoot) = 0;
    virtual HRESULT get_nodeTypeString(BSTR* nodeType) = 0;
    virtual HRESULT get_text(BSTR* text) = 0;
    virtual HRESULT put_text(BSTR text) = 0;
    virtual HRESULT get_specified(VARIANT_BOOL* isSpecified) = 0;
    virtual HRESULT get_definition(IXMLDOMNode** definitionNode) = 0;
    virtual HRESULT get_nodeTypedValue(VARIANT* typedValue) = 0;
    virtual HRESULT put_nodeTypedValue(VARIANT typedValue) = 0;
    virtual HRESULT get_dataType(VARIANT* dataTypeName) = 0;
    virtual HRESULT put_dataType(BSTR dataTypeName) = 0;
    virtual HRESULT get_xml(BSTR* xmlString) = 0;
    virtual HRESULT transformNode(IXMLDOMNode* stylesheet, BSTR* xmlString) = 0;
    virtual HRESULT selectNodes(BSTR queryString, IXMLDOMNodeList** resultList) = 0;
    virtual HRESULT selectSingleNode(BSTR queryString, IXMLDOMNode** resultNode) = 0;
    virtual HRESULT get_parsed(VARIANT_BOOL* isParsed) = 0;
    virtual HRESULT get_namespaceURI(BSTR* namespaceURI) = 0;
    virtual HRESULT get_prefix(BSTR* prefixString) = 0;
    virtual HRESULT get_baseName(BSTR* nameString) = 0;
    virtual HRESULT transformNodeToObject(IXMLDOMNode* stylesheet, VARIANT outputObject) = 0;
};

struct IXMLDOMDocument : IXMLDOMNode {
    virtual HRESULT get_doctype(IXMLDOMDocumentType** documentType) = 0;
    virtual HRESULT get_implementation(IXMLDOMImplementation** impl) = 0;
    virtual HRESULT get_documentElement(IXMLDOMElement** DOMElement) = 0;
    virtual HRESULT putref_documentElement(IXMLDOMElement* DOMElement) = 0;
    virtual HRESULT createElement(BSTR tagName, IXMLDOMElement** element) = 0;
    virtual HRESULT createDocumentFragment(IXMLDOMDocumentFragment** docFrag) = 0;
    virtual HRESULT createTextNode(BSTR data, IXMLDOMText** text) = 0;
    virtual HRESULT createComment(BSTR data, IXMLDOMComment** comment) = 0;
    virtual HRESULT createCDATASection(BSTR data, IXMLDOMCDATASection** cdata) = 0;
    virtual HRESULT createProcessingInstruction(BSTR target, BSTR data, IXMLDOMProcessingInstruction** pi) = 0;
    virtual HRESULT createAttribute(BSTR name, IXMLDOMAttribute** attribute) = 0;
    virtual HRESULT createEntityReference(BSTR name, IXMLDOMEntityReference** entityRef) = 0;
    virtual HRESULT getElementsByTagName(BSTR tagName, IXMLDOMNodeList** resultList) = 0;
    virtual HRESULT createNode(VARIANT Type, BSTR name, BSTR namespaceURI, IXMLDOMNode** node) = 0;
    virtual HRESULT nodeFromID(BSTR idString, IXMLDOMNode** node) = 0;
    virtual HRESULT load(VARIANT xmlSource, VARIANT_BOOL* isSuccessful) = 0;
    virtual HRESULT get_readyState(LONG* value) = 0;
    virtual HRESULT get_parseError(IXMLDOMParseError** errorObj) = 0;
    virtual HRESULT get_url(BSTR* urlString) = 0;
    virtual HRESULT get_async(VARIANT_BOOL* isAsync) = 0;
    virtual HRESULT put_async(VARIANT_BOOL isAsync) = 0;
    virtual HRESULT abort() = 0;
    virtual HRESULT loadXML(BSTR bstrXML, VARIANT_BOOL* isSuccessful) = 0;
    virtual HRESULT save(VARIANT destination) = 0;
    virtual HRESULT get_validateOnParse(VARIANT_BOOL* isValidating) = 0;
    virtual HRESULT put_validateOnParse(VARIANT_BOOL isValidating) = 0;
    virtual HRESULT get_resolveExternals(VARIANT_BOOL* isResolving) = 0;
    virtual HRESULT put_resolveExternals(VARIANT_BOOL isResolving) = 0;
    virtual HRESULT get_preserveWhiteSpace(VARIANT_BOOL* isPreserving) = 0;
    virtual HRESULT put_preserveWhiteSpace(VARIANT_BOOL isPreserving) = 0;
    virtual HRESULT put_onreadystatechange(VARIANT readystatechangeSink) = 0;
    virtual HRESULT put_ondataavailable(VARIANT ondataavailableSink) = 0;
    virtual HRESULT put_ontransformnode(VARIANT ontransformnodeSink) = 0;
};

struct IXMLDOMDocument2 : IXMLDOMDocument {
    virtual HRESULT get_namespaces(IXMLDOMSchemaCollection** namespaceCollection) = 0;
    virtual HRESULT get_schemas(VARIANT* otherCollection) = 0;
    virtual HRESULT putref_schemas(VARIANT otherCollection) = 0;
    virtual HRESULT validate(IXMLDOMParseError** errorObj) = 0;
    virtual HRESULT setProperty(BSTR name, VARIANT value) = 0;
    virtual HRESULT getProperty(BSTR name, VARIANT* value) = 0;
};

struct IXMLDOMNodeList : IDispatch {
    virtual HRESULT get_item(LONG index, IXMLDOMNode** listItem) = 0;
    virtual HRESULT get_length(LONG* listLength) = 0;
    virtual HRESULT nextNode(IXMLDOMNode** nextItem) = 0;
    virtual HRESULT reset() = 0;
    virtual HRESULT get__newEnum(IUnknown** ppUnk) = 0;
};

struct IXMLDOMNamedNodeMap : IDispatch {
    virtual HRESULT getNamedItem(BSTR name, IXMLDOMNode** namedItem) = 0;
    virtual HRESULT setNamedItem(IXMLDOMNode* newItem, IXMLDOMNode** nameItem) = 0;
    virtual HRESULT removeNamedItem(BSTR name, IXMLDOMNode** namedItem) = 0;
    virtual HRESULT get_item(LONG index, IXMLDOMNode** listItem) = 0;
    virtual HRESULT get_length(LONG* listLength) = 0;
    virtual HRESULT getQualifiedItem(BSTR baseName, BSTR namespaceURI, IXMLDOMNode** qualifiedItem) = 0;
    virtual HRESULT removeQualifiedItem(BSTR baseName, BSTR namespaceURI, IXMLDOMNode** qualifiedItem) = 0;
    virtual HRESULT nextNode(IXMLDOMNode** nextItem) = 0;
    virtual HRESULT reset() = 0;
    virtual HRESULT get__newEnum(IUnknown** ppUnk) = 0;
};

struct IXMLDOMCharacterData : IXMLDOMNode {
    virtual HRESULT get_data(BSTR* data) = 0;
    virtual HRESULT put_data(BSTR data) = 0;
    virtual HRESULT get_length(LONG* dataLength) = 0;
    virtual HRESULT substringData(LONG offset, LONG count, BSTR* data) = 0;
    virtual HRESULT appendData(BSTR data) = 0;
    virtual HRESULT insertData(LONG offset, BSTR data) = 0;
    virtual HRESULT deleteData(LONG offset, LONG count) = 0;
    virtual HRESULT replaceData(LONG offset, LONG count, BSTR data) = 0;
};

struct IXMLDOMAttribute : IXMLDOMNode {
    virtual HRESULT get_name(BSTR* attributeName) = 0;
    virtual HRESULT get_value(VARIANT* attributeValue) = 0;
    virtual HRESULT put_value(VARIANT attributeValue) = 0;
};

struct IXMLDOMElement : IXMLDOMNode {
    virtual HRESULT get_tagName(BSTR* tagName) = 0;
    virtual HRESULT getAttribute(BSTR name, VARIANT* value) = 0;
    virtual HRESULT setAttribute(BSTR name, VARIANT value) = 0;
    virtual HRESULT removeAttribute(BSTR name) = 0;
    virtual HRESULT getAttributeNode(BSTR name, IXMLDOMAttribute** attributeNode) = 0;
    virtual HRESULT setAttributeNode(IXMLDOMAttribute* DOMAttribute, IXMLDOMAttribute** attributeNode) = 0;
    virtual HRESULT removeAttributeNode(IXMLDOMAttribute* DOMAttribute, IXMLDOMAttribute** attributeNode) = 0;
    virtual HRESULT getElementsByTagName(BSTR tagName, IXMLDOMNodeList** resultList) = 0;
    virtual HRESULT normalize() = 0;
};

struct IXMLDOMText : IXMLDOMCharacterData {
    virtual HRESULT splitText(LONG offset, IXMLDOMText** rightHandTextNode) = 0;
};

struct IXMLDOMComment : IXMLDOMCharacterData {};

struct IXMLDOMCDATASection : IXMLDOMText {};

struct IXMLDOMProcessingInstruction : IXMLDOMNode {
    virtual HRESULT get_target(BSTR* name) = 0;
    virtual HRESULT get_data(BSTR* value) = 0;
    virtual HRESULT put_data(BSTR value) = 0;
};

struct IXMLDOMDocumentFragment : IXMLDOMNode {};

struct IXMLDOMEntityReference : IXMLDOMNode {};

struct IXMLDOMDocumentType : IXMLDOMNode {
    virtual HRESULT get_name(BSTR* rootName) = 0;
    virtual HRESULT get_entities(IXMLDOMNamedNodeMap** entityMap) = 0;
    virtual HRESULT get_notations(IXMLDOMNamedNodeMap** notationMap) = 0;
};

struct IXMLDOMImplementation : IDispatch {
    virtual HRESULT hasFeature(BSTR feature, BSTR version, VARIANT_BOOL* hasFeature) = 0;
};

struct IXMLDOMParseError : IDispatch {
    virtual HRESULT get_errorCode(LONG* errorCode) = 0;
    virtual HRESULT get_url(BSTR* urlString) = 0;
    virtual HRESULT get_reason(BSTR* reasonString) = 0;
    virtual HRESULT get_srcText(BSTR* sourceString) = 0;
    virtual HRESULT get_line(LONG* lineNumber) = 0;
    virtual HRESULT get_linepos(LONG* linePosition) = 0;
    virtual HRESULT get_filepos(LONG* filePosition) = 0;
};

ORV_DECLARE_IID(IXMLDOMNode);
ORV_DECLARE_IID(IXMLDOMDocument);
ORV_DECLARE_IID(IXMLDOMDocument2);
ORV_DECLARE_IID(IXMLDOMNodeList);
ORV_DECLARE_IID(IXMLDOMNamedNodeMap);
ORV_DECLARE_IID(IXMLDOMCharacterData);
ORV_DECLARE_IID(IXMLDOMAttribute);
ORV_DECLARE_IID(IXMLDOMElement);
ORV_DECLARE_IID(IXMLDOMText);
ORV_DECLARE_IID(IXMLDOMComment);
ORV_DECLARE_IID(IXMLDOMCDATASection);
ORV_DECLARE_IID(IXMLDOMProcessingInstruction);
ORV_DECLARE_IID(IXMLDOMDocumentFragment);
ORV_DECLARE_IID(IXMLDOMEntityReference);
ORV_DECLARE_IID(IXMLDOMDocumentType);
ORV_DECLARE_IID(IXMLDOMImplementation);
ORV_DECLARE_IID(IXMLDOMParseError);
