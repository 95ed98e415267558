#pragma once
#include "net/HostPort.h"
#include "platform/SignatureCheck.h"

// The three vendor services, from the deployment values built in.
struct ServiceEndpoints {
    HostPort update;    // plain HTTP; port 0 = the service's default (80)
    HostPort logConfig; // HTTPS, 443 unless given
    HostPort collector; // HTTPS, 443 unless given
};

const ServiceEndpoints& DeployedEndpoints();

// "https://<help host>/help/troubleshoot-installation-problems"
std::wstring HelpPageUrl();

// Who must have signed the setup program before it is opened.
platform::ExpectedSigner ExpectedSetupSigner();
