#include <gtest/gtest.h>

#include "platform/base/debug_output.h"
#include "ui/core/debug_print.h"
#include "ui/core/library.h"
#include "ui/core/object.h"
#include "ui/core/type_registry.h"

namespace vexlo::ui {
namespace {

using namespace com;

class Gadget : public duObject {
public:
    const char16_t* GetTypeName() const override { return u"duGadget"; }
    int32_t Scale(int32_t a, int32_t b) { return a * 10 + b; }
    int32_t last = 0;
};

const IID kGadgetIid{0x11111111u, 0x2222, 0x3333, {1, 2, 3, 4, 5, 6, 7, 8}};

Ref<TypeInfo> GadgetType() {
    FuncDesc scale;
    scale.memberId = 3;
    scale.name = u"Scale";
    scale.params = {VT_I4, VT_I4};
    scale.result = VT_I4;
    scale.call = [](IDispatch& self, std::span<const Variant> a) {
        return Variant::Int(dynamic_cast<Gadget&>(self).Scale(a[0].raw(), a[1].raw()));
    };
    return TypeInfo::Create(u"duGadget", kGadgetIid, {scale});
}

class ObjectModel : public ::testing::Test {
protected:
    void TearDown() override {
        ModuleTypeLibrary().Clear();
        UninitUILibrary();
    }
};

TEST_F(ObjectModel, WithoutTypeInformationOnlyTheFixedInterfacesAnswer) {
    InitUILibrary();
    auto o = MakeObject<Gadget>();
    void* out = nullptr;
    for (const IID& iid : {IID_IUnknown, IID_IDispatch, IID_duObject}) {
        EXPECT_EQ(o->QueryInterface(iid, &out), S_OK);
        EXPECT_EQ(out, static_cast<IDispatch*>(o.get()));
    }
    EXPECT_EQ(o->referenceCount(), 1) << "QueryInterface adds no reference";
    EXPECT_EQ(o->QueryInterface(kGadgetIid, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);

    std::u16string_view names[] = {u"Scale"};
    DispId id = 0;
    EXPECT_EQ(o->GetIDsOfNames(IID_NULL, names, 1, 0, &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(o->Invoke(3, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr), DISP_E_MEMBERNOTFOUND);
    TypeInfo* info = nullptr;
    EXPECT_EQ(o->GetTypeInfo(0, 0, &info), E_NOTIMPL);
    EXPECT_EQ(o->GetTypeInfo(1, 0, &info), DISP_E_BADINDEX);
    uint32_t count = 0;
    EXPECT_EQ(o->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(o->GetTypeInfoCount(nullptr), E_INVALIDARG);
}

TEST_F(ObjectModel, StartUpFillsTheRegistryFromTheModuleLibraryAndObjectsDispatchThroughIt) {
    ModuleTypeLibrary().Add(GadgetType());
    InitUILibrary();
    EXPECT_TRUE(GetTypeInfoByName(u"duGadget"));
    EXPECT_FALSE(GetTypeInfoByName(u"dugadget")) << "type names are looked up exactly";

    auto o = MakeObject<Gadget>();
    void* out = nullptr;
    EXPECT_EQ(o->QueryInterface(kGadgetIid, &out), S_OK);

    std::u16string_view names[] = {u"scale"};
    DispId id = 0;
    ASSERT_EQ(o->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
    DispParams args = DispParams::InCallOrder({Variant::Int(4), Variant::Int(2)});
    Variant result;
    ASSERT_EQ(o->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &args, &result), S_OK);
    EXPECT_EQ(result, Variant::Int(42)) << "the last array element is the first parameter";

    DispParams three = DispParams::InCallOrder({Variant::Int(1), Variant::Int(2), Variant::Int(3)});
    EXPECT_EQ(o->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &three, &result), DISP_E_BADPARAMCOUNT);

    TypeInfo* info = nullptr;
    ASSERT_EQ(o->GetTypeInfo(0, 0, &info), S_OK);
    EXPECT_EQ(info->name(), u"duGadget");
    info->Release();

    // Shut-down releases the registry; the object keeps its own reference to the description.
    UninitUILibrary();
    ModuleTypeLibrary().Clear();
    EXPECT_EQ(TypeRegistrySize(), 0u);
    ASSERT_EQ(o->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &args, &result), S_OK);
    EXPECT_EQ(result, Variant::Int(42));
}

TEST_F(ObjectModel, ReferenceCountsNeverDestroyAndDeleteFrees) {
    auto* o = new Gadget();
    EXPECT_EQ(o->AddRef(), 2u);
    EXPECT_EQ(o->Release(), 1u);
    EXPECT_EQ(o->Release(), 0u);
    EXPECT_EQ(o->Scale(1, 2), 12) << "still usable after its count reached zero";
    EXPECT_STREQ(reinterpret_cast<const char*>(std::u16string_view(duObject().GetTypeName()).data()),
                 reinterpret_cast<const char*>(u"duObject"));
    o->Delete();  // the sanitizer build reports a leak or a double free here
}

TEST(DebugPrint, NumbersMessagesFromZeroAndCutsAt511Characters) {
    ResetDebugPrintCounter();
    platform::DebugOutputCapture capture;
    DebugPrint(u"AddResObj [%s] failed\n", u"corner");
    DebugPrint(u"%d%% of %s, %x", 50, std::u16string(u"all"), 255);
    DebugPrint(std::u16string(600, u'x'));
    auto m = capture.Messages();
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m[0], u"[0]AddResObj [corner] failed\n");
    EXPECT_EQ(m[1], u"[1]50% of all, ff");
    EXPECT_EQ(m[2], u"[2]" + std::u16string(511, u'x'));
}

}  // namespace
}  // namespace vexlo::ui
