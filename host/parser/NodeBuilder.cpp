#include "NodeBuilder.h"

#include "LateSyntax.h"
#include "ParseOptions.h"
#include "PropertyReference.h"
#include "TrackingNodeFactory.h"

NodeBuilder::NodeBuilder(TrackingNodeFactory& ioFactory, const ParseOptions& iOptions)
    : _factory(ioFactory), _options(iOptions)
{
}

ExpressionOwner NodeBuilder::Literal(const std::string& iText, bool iNumber, Use iUse) const
{
    const bool generated = _options.late && _options.lateSyntax != nullptr && iUse != Use::kGenerating &&
                           !(iNumber && iUse == Use::kOrAssign);
    const std::string text = generated ? _options.lateSyntax->StringLiteral(iText) : iText;
    MTTString value(text.data(), text.size());
    // The late text of a generated literal is the text itself.
    return ExpressionOwner(_factory.makeExpString(&value, !generated && !iNumber));
}

ExpressionOwner NodeBuilder::Property(const PropertyReference& iReference) const
{
    return iReference.Make(_factory, _options.strict, _path);
}
