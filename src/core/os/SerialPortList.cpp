#include "os/SerialPortList.h"

#include <libserialport.h>

namespace korvan::os {

std::vector<SerialPortInfo> listSerialPorts() {
    std::vector<SerialPortInfo> ports;
    sp_port** list = nullptr;
    if (sp_list_ports(&list) != SP_OK)
        return ports;
    for (sp_port** port = list; *port != nullptr; ++port) {
        const char* name = sp_get_port_name(*port);
        const char* description = sp_get_port_description(*port);
        ports.push_back({name ? name : "", description ? description : ""});
    }
    sp_free_port_list(list);
    return ports;
}

} // namespace korvan::os
