// duravane-sim: a simulated Duravane III controller for tests and demonstrations.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "device/Controller.h"
#include "device/DictionaryParser.h"
#include "wire/FrameLog.h"
#include "Options.h"
#include "Server.h"
#include "device/StateFile.h"

namespace {

int g_wakeWrite = -1;

void OnSignal(int) {
    const char c = 1;
    [[maybe_unused]] ssize_t n = ::write(g_wakeWrite, &c, 1);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    std::optional<sim::Options> options = sim::Options::Parse(args, error);
    if (!options) {
        std::cerr << "duravane-sim: " << error << "\n";
        return 2;
    }
    if (options->help) {
        std::cout << sim::Options::Help();
        return 0;
    }

    sim::ControllerConfig config;
    config.persona = *sim::Persona::FromName(options->persona);
    config.addresses = options->addresses;
    if (options->cf) config.cfReply = *options->cf;
    config.block.blockSize = options->blockSize;
    config.block.writeLimit = options->writeLimit;
    config.block.panelHandoverStatus = options->panelHandoverStatus;
    config.pad = static_cast<char>(options->pad);
    config.frameTimeoutMs = options->frameTimeoutMs;
    config.dataDir = options->dataDir;
    config.display = options->display;
    config.status = options->status;
    config.logs = options->logs;
    sim::Controller controller(config);
    for (const std::string& text : options->faults) {
        if (std::string fault = controller.Faults().Add(text); !fault.empty()) {
            std::cerr << "duravane-sim: --fault " << text << ": " << fault << "\n";
            return 2;
        }
    }
    if (!options->dictionary.empty()) {
        auto dictionary = std::make_shared<sim::Dictionary>();
        if (std::string fault = sim::DictionaryParser::Load(options->dictionary, *dictionary); !fault.empty()) {
            std::cerr << "duravane-sim: dictionary: " << fault << "\n";
            return 2;
        }
        controller.UseDictionary(std::move(dictionary));
    }
    if (!options->state.empty()) {
        if (std::string fault = sim::StateFile::Load(options->state, options->addresses, controller.Values());
            !fault.empty()) {
            std::cerr << "duravane-sim: " << fault << "\n";
            return 2;
        }
    }

    sim::FrameLog log;
    if (!options->log.empty()) {
        if (std::string fault = log.Open(options->log); !fault.empty()) {
            std::cerr << "duravane-sim: " << fault << "\n";
            return 1;
        }
    }

    int wake[2];
    if (::pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::perror("duravane-sim: pipe");
        return 1;
    }
    g_wakeWrite = wake[1];
    struct sigaction sa{};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);
    ::signal(SIGPIPE, SIG_IGN);

    {
        sim::Server server(controller, log);
        for (const sim::TcpEndpoint& e : options->tcp) {
            if (std::string fault = server.AddTcp(e.host, e.port); !fault.empty()) {
                std::cerr << "duravane-sim: " << fault << "\n";
                return 1;
            }
        }
        for (const sim::TcpEndpoint& e : options->displayTcp) {
            if (std::string fault = server.AddDisplayTcp(e.host, e.port); !fault.empty()) {
                std::cerr << "duravane-sim: " << fault << "\n";
                return 1;
            }
        }
        for (const std::string& link : options->pty) {
            if (std::string fault = server.AddPty(link); !fault.empty()) {
                std::cerr << "duravane-sim: " << fault << "\n";
                return 1;
            }
        }
        for (const std::string& line : server.Listening()) std::printf("%s\n", line.c_str());
        std::printf("ready\n");
        std::fflush(stdout);
        server.Run(wake[0]);
    }
    ::close(wake[0]);
    ::close(wake[1]);
    return 0;
}
