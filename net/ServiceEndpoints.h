#pragma once
#include "net/HostPort.h"

// The three vendor services, from the deployment values built in.
struct ServiceEndpoints {
    HostPort update;    // plain HTTP; port 0 = the service's default (80)
    HostPort logConfig; // HTTPS, 443 unless given
    HostPort collector; // HTTPS, 443 unless given
};

const ServiceEndpoints& DeployedEndpoints();

// "https://<help host>/help/troubleshoot-installation-problems"
std::wstring HelpPageUrl();

// The subject common name that the setup program's signer certificate must
// carry before the setup program is opened.
std::wstring ExpectedSetupSigner();
