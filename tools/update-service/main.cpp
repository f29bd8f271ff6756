// vexlo-update-service: the local update service as a program (options in README.md).
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "tools/update-service/update_service.h"

namespace {

void PrintUsage() {
    std::fprintf(stderr,
                 "usage: vexlo-update-service [--listen HOST:PORT] [--offer FILE.json]\n"
                 "                            [--files DIR] [--record FILE]\n");
}

bool ReadOffer(const std::string& path, Json::Value& offer) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "vexlo-update-service: cannot read %s\n", path.c_str());
        return false;
    }
    Json::CharReaderBuilder reader;
    std::string errors;
    if (!Json::parseFromStream(reader, file, &offer, &errors)) {
        std::fprintf(stderr, "vexlo-update-service: %s: %s\n", path.c_str(), errors.c_str());
        return false;
    }
    return true;
}

bool SplitListen(const std::string& listen, std::string& host, int& port) {
    const size_t colon = listen.rfind(':');
    if (colon == std::string::npos) return false;
    host = listen.substr(0, colon);
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
    const std::string digits = listen.substr(colon + 1);
    if (digits.empty() || digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos)
        return false;
    port = std::atoi(digits.c_str());
    return port <= 65535 && !host.empty();
}

}  // namespace

int main(int argc, char** argv) {
    std::string listen = "127.0.0.1:0";
    std::string offerPath;
    std::string filesFolder;
    std::string recordFile;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            PrintUsage();
            return 0;
        }
        if (i + 1 >= argc) {
            PrintUsage();
            return 2;
        }
        const std::string value = argv[++i];
        if (option == "--listen") {
            listen = value;
        } else if (option == "--offer") {
            offerPath = value;
        } else if (option == "--files") {
            filesFolder = value;
        } else if (option == "--record") {
            recordFile = value;
        } else {
            PrintUsage();
            return 2;
        }
    }

    std::string host;
    int port = 0;
    if (!SplitListen(listen, host, port)) {
        std::fprintf(stderr, "vexlo-update-service: bad --listen address %s\n", listen.c_str());
        return 2;
    }

    // SIGTERM and SIGINT end the service cleanly: wait for them on this thread.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    vexlo::service::UpdateService service;
    if (!offerPath.empty()) {
        Json::Value offer;
        std::string error;
        if (!ReadOffer(offerPath, offer)) return 1;
        if (!service.LoadOffer(offer, error)) {
            std::fprintf(stderr, "vexlo-update-service: %s: %s\n", offerPath.c_str(), error.c_str());
            return 1;
        }
    }
    if (!filesFolder.empty()) service.ServeFiles(filesFolder);
    if (!recordFile.empty()) service.SetRecordFile(recordFile);
    if (!service.Start(host, port)) {
        std::fprintf(stderr, "vexlo-update-service: cannot listen on %s\n", listen.c_str());
        return 1;
    }
    std::printf("listening on %s\n", service.BaseUrl().c_str());
    std::fflush(stdout);

    int received = 0;
    sigwait(&signals, &received);
    service.Stop();
    return 0;
}
