#include "core/process/PolynomialSetting.h"

#include "core/view/RedrawRequest.h"

namespace vk {

namespace {

using Coefficient = double ChannelDescriptor::*;
constexpr std::array<Coefficient, 11> Members{
    &ChannelDescriptor::Poly_A, &ChannelDescriptor::Poly_B, &ChannelDescriptor::Poly_C, &ChannelDescriptor::Poly_D,
    &ChannelDescriptor::Poly_E, &ChannelDescriptor::Poly_F, &ChannelDescriptor::Poly_G, &ChannelDescriptor::Poly_H,
    &ChannelDescriptor::Poly_I, &ChannelDescriptor::Poly_J, &ChannelDescriptor::Poly_K};
constexpr std::size_t LinearTerm = 2;  // C

}  // namespace

PolynomialSetting PolynomialOf(const ChannelDescriptor& d)
{
    PolynomialSetting p;
    for (std::size_t i = 0; i < Members.size(); ++i)
        p.coeff[i] = d.*Members[i];
    p.apply = d.bApplyPolynom;
    return p;
}

PolynomialSetting IdentityPolynomial()
{
    PolynomialSetting p;
    p.coeff[LinearTerm] = 1.0;
    return p;
}

CommandResult SetPolynomial(ViewContext& cx, int slot, const PolynomialSetting& p)
{
    cx.undo.Push(UndoKind::Polynomial, slot, redraw::Everything);
    ChannelDescriptor& d = cx.rec.desc(slot);
    for (std::size_t i = 0; i < Members.size(); ++i)
        d.*Members[i] = p.coeff[i];
    d.bApplyPolynom = p.apply;
    CheckPolynomial(cx.rec, slot);
    cx.rec.at(slot).ChannelModified = true;
    return redraw::Everything;
}

}  // namespace vk
