#pragma once
// A test with the local update service running in-process on a random loopback port, the
// registry store and per-user folders isolated, and the ANSI code page at 936.
#include <gtest/gtest.h>

#include "client/client_api.h"
#include "platform/base/text.h"
#include "tests/client/test_support.h"
#include "tools/update-service/update_service.h"

namespace vexlo::client::testing {

class ServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetAnsiCodePage(936);
        ASSERT_TRUE(service.Start("127.0.0.1", 0));
    }
    void TearDown() override { service.Stop(); }

    std::string Url(const std::string& path) const { return service.BaseUrl() + path; }
    platform::WString WideUrl(const std::string& path) const { return platform::AsciiToWide(Url(path)); }
    static platform::WString Wide(const std::string& utf8) { return platform::Utf8ToWide(utf8); }

    ClientAPI& client = ClientAPI::GetInstance();
    service::UpdateService service;
    TempDir dir;
};

}  // namespace vexlo::client::testing
