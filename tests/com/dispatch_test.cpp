#include <gtest/gtest.h>

#include "platform/com/type_info.h"

namespace vexlo::com {
namespace {

// A minimal automation object whose members record what they received.
class Recorder : public IDispatch {
public:
    HRESULT QueryInterface(const IID&, void** out) override {
        *out = this;
        return S_OK;
    }
    uint32_t AddRef() override { return ++count; }
    uint32_t Release() override { return --count; }
    HRESULT GetTypeInfoCount(uint32_t* c) override {
        *c = 0;
        return S_OK;
    }
    HRESULT GetTypeInfo(uint32_t, uint32_t, TypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(const IID&, const std::u16string_view*, uint32_t, uint32_t, DispId*) override {
        return E_NOTIMPL;
    }
    HRESULT Invoke(DispId, const IID&, uint32_t, uint16_t, DispParams*, Variant*) override { return E_NOTIMPL; }

    uint32_t count = 1;
    std::vector<Variant> received;
    int calls = 0;
};

Ref<TypeInfo> RecorderType(VarType result, std::vector<VarType> params, Variant answer) {
    FuncDesc f;
    f.memberId = 7;
    f.name = u"Record";
    f.params = std::move(params);
    f.result = result;
    f.call = [answer](IDispatch& self, std::span<const Variant> args) {
        auto& r = static_cast<Recorder&>(self);
        ++r.calls;
        r.received.assign(args.begin(), args.end());
        return answer;
    };
    return TypeInfo::Create(u"Recorder", IID_IDispatch, {f});
}

TEST(DispInvoke, PassesArgumentsInParameterOrderConvertedToTheirTypes) {
    Recorder r;
    auto info = RecorderType(VT_I4, {VT_I4, VT_R4, VT_BOOL, VT_BSTR, VT_I4}, Variant::Int(5));
    DispParams p = DispParams::InCallOrder(
        {Variant::Int(-3), Variant::Double(2.5), Variant::Int(9), Variant::Text(u"x"), Variant::Bool(true)});
    Variant result;
    ASSERT_EQ(DispInvoke(r, *info, 7, DISPATCH_METHOD, &p, &result), S_OK);
    ASSERT_EQ(r.received.size(), 5u);
    EXPECT_EQ(r.received[0], Variant::Int(-3));
    EXPECT_EQ(r.received[1], Variant::Float(2.5f));
    EXPECT_EQ(r.received[2], Variant::Bool(true));
    EXPECT_EQ(r.received[3], Variant::Text(u"x"));
    EXPECT_EQ(r.received[4], Variant::Int(1)) << "a boolean reaching an integer parameter is 1";
    EXPECT_EQ(result, Variant::Int(5));
}

TEST(DispInvoke, RefusesWrongCountsUnknownMembersAndMismatchedTypesWithoutCalling) {
    Recorder r;
    auto info = RecorderType(VT_I4, {VT_I4, VT_I4}, Variant::Int(0));
    DispParams three = DispParams::InCallOrder({Variant::Int(1), Variant::Int(2), Variant::Int(3)});
    EXPECT_EQ(DispInvoke(r, *info, 7, DISPATCH_METHOD, &three, nullptr), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(DispInvoke(r, *info, 7, DISPATCH_METHOD, nullptr, nullptr), DISP_E_BADPARAMCOUNT);
    DispParams two = DispParams::InCallOrder({Variant::Int(1), Variant::Text(u"no")});
    EXPECT_EQ(DispInvoke(r, *info, 7, DISPATCH_METHOD, &two, nullptr), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(DispInvoke(r, *info, 8, DISPATCH_METHOD, &two, nullptr), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(r.calls, 0);
}

TEST(DispInvoke, ShapesTheResultByTheDeclaredType) {
    Recorder target;
    struct Case {
        VarType declared;
        Variant answer;
        Variant expected;
    } cases[] = {
        {VT_EMPTY, Variant::Int(4), Variant()},
        {VT_BOOL, Variant::Int(4), Variant::Bool(true)},
        {VT_BOOL, Variant::Int(0), Variant::Bool(false)},
        {VT_PTR, Variant::Object(&target), Variant::Object(&target)},
        {VT_LPWSTR, Variant::Text(u"abc"), Variant::Text(u"abc")},
        {VT_LPWSTR, Variant::NullText(), Variant::NullText()},
        {VT_UI4, Variant::Int(-1), Variant::Raw(VT_UI4, -1)},
    };
    for (const Case& c : cases) {
        Recorder r;
        auto info = RecorderType(c.declared, {}, c.answer);
        Variant result = Variant::Int(99);
        DispParams none;
        ASSERT_EQ(DispInvoke(r, *info, 7, DISPATCH_METHOD, &none, &result), S_OK);
        EXPECT_EQ(result, c.expected) << "declared type " << c.declared;
    }
}

TEST(DispInvoke, AMemberWithMoreThanFifteenParametersIsNotCalled) {
    Recorder r;
    auto info = RecorderType(VT_I4, std::vector<VarType>(16, VT_I4), Variant::Int(0));
    DispParams p;
    p.args.assign(16, Variant::Int(1));
    Variant result;
    ASSERT_EQ(DispInvoke(r, *info, 7, DISPATCH_METHOD, &p, &result), S_OK);
    EXPECT_EQ(r.calls, 0);
    EXPECT_EQ(result, Variant::Int(-1));
}

TEST(DispGetIDsOfNames, FindsMembersWithoutRegardToCase) {
    auto info = RecorderType(VT_EMPTY, {}, Variant());
    std::u16string_view names[] = {u"rECORD"};
    DispId id = 0;
    EXPECT_EQ(DispGetIDsOfNames(*info, names, 1, &id), S_OK);
    EXPECT_EQ(id, 7);
    std::u16string_view unknown[] = {u"Recorder"};
    EXPECT_EQ(DispGetIDsOfNames(*info, unknown, 1, &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, DISPID_UNKNOWN);
    std::u16string_view withParam[] = {u"record", u"value"};
    DispId ids[2];
    EXPECT_EQ(DispGetIDsOfNames(*info, withParam, 2, ids), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(ids[0], 7);
    EXPECT_EQ(ids[1], DISPID_UNKNOWN);
}

TEST(Ref, CountsReferencesAndObjectVariantsHoldOne) {
    Recorder r;
    {
        Ref<IDispatch> a(&r);
        EXPECT_EQ(r.count, 2u);
        Variant v = Variant::Object(a);
        EXPECT_EQ(r.count, 3u);
        Variant copy = v;
        EXPECT_EQ(r.count, 4u);
    }
    EXPECT_EQ(r.count, 1u);
}

}  // namespace
}  // namespace vexlo::com
