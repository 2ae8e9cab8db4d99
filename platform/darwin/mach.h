#pragma once
// Mach ports and messages of the simulated device.
//
// A process names its port rights with 32-bit port names, as on the phone. A receive
// right is a listening sequenced-packet socket under /var/run/ports of the device; a send
// right is a name for such a socket's address, connected on its first send and kept
// connected. `mach_msg` turns the message in memory (this process's layout of the Mach
// types, packed to 4 bytes like the platform) into the bytes a 32-bit process would hand
// to the kernel, and the receiver turns them back into its own layout; out-of-line memory
// travels beside the bytes as a sealed memory file that the receiver maps. Sizes
// (`msgh_size`, the send size) always count an out-of-line descriptor at its 32-bit size of
// 12 bytes, so a message has one size on both sides of the socket: the in-memory message is
// 4 bytes longer per descriptor, and a receive buffer must leave room for that.
// A receiver that has gone away answers MACH_SEND_INVALID_DEST, and the sender drops the
// right and looks its name up again (see bootstrap.h).

#include <cstddef>
#include <cstdint>

extern "C" {

typedef unsigned int natural_t;
typedef int integer_t;
typedef int boolean_t;
typedef natural_t mach_port_name_t;
typedef mach_port_name_t mach_port_t;
typedef int kern_return_t;
typedef kern_return_t mach_msg_return_t;
typedef unsigned int mach_msg_bits_t;
typedef natural_t mach_msg_size_t;
typedef integer_t mach_msg_id_t;
typedef natural_t mach_msg_timeout_t;
typedef integer_t mach_msg_option_t;
typedef unsigned int mach_msg_type_name_t;
typedef unsigned int mach_msg_copy_options_t;
typedef unsigned int mach_msg_descriptor_type_t;
typedef natural_t mach_port_right_t;
typedef integer_t mach_port_delta_t;
typedef mach_port_t task_t;
typedef mach_port_t ipc_space_t;
typedef mach_port_t vm_map_t;
typedef uintptr_t vm_address_t;
typedef uintptr_t vm_size_t;

#define MACH_PORT_NULL ((mach_port_t)0)
#define MACH_PORT_DEAD ((mach_port_t)~0u)
#define MACH_PORT_VALID(name) ((name) != MACH_PORT_NULL && (name) != MACH_PORT_DEAD)

// kern_return_t
#define KERN_SUCCESS 0
#define KERN_INVALID_ADDRESS 1
#define KERN_NO_SPACE 3
#define KERN_INVALID_ARGUMENT 4
#define KERN_FAILURE 5
#define KERN_RESOURCE_SHORTAGE 6
#define KERN_INVALID_NAME 15
#define KERN_INVALID_TASK 16
#define KERN_INVALID_RIGHT 17
#define KERN_INVALID_VALUE 18
#define KERN_UREFS_OVERFLOW 19

// mach_msg_return_t
#define MACH_MSG_SUCCESS 0x00000000
#define MACH_SEND_INVALID_DATA 0x10000002
#define MACH_SEND_INVALID_DEST 0x10000003
#define MACH_SEND_TIMED_OUT 0x10000004
#define MACH_SEND_MSG_TOO_SMALL 0x10000008
#define MACH_SEND_INVALID_REPLY 0x10000009
#define MACH_SEND_INVALID_RIGHT 0x1000000a
#define MACH_SEND_INVALID_MEMORY 0x1000000c
#define MACH_SEND_NO_BUFFER 0x1000000d
#define MACH_SEND_TOO_LARGE 0x1000000e
#define MACH_SEND_INVALID_TYPE 0x1000000f
#define MACH_SEND_INVALID_HEADER 0x10000010
#define MACH_RCV_INVALID_NAME 0x10004002
#define MACH_RCV_TIMED_OUT 0x10004003
#define MACH_RCV_TOO_LARGE 0x10004004
#define MACH_RCV_PORT_DIED 0x10004009

// Port rights.
#define MACH_PORT_RIGHT_SEND ((mach_port_right_t)0)
#define MACH_PORT_RIGHT_RECEIVE ((mach_port_right_t)1)
#define MACH_PORT_RIGHT_SEND_ONCE ((mach_port_right_t)2)
#define MACH_PORT_RIGHT_PORT_SET ((mach_port_right_t)3)
#define MACH_PORT_RIGHT_DEAD_NAME ((mach_port_right_t)4)

// Dispositions of the rights named in a message header.
#define MACH_MSG_TYPE_MOVE_RECEIVE 16
#define MACH_MSG_TYPE_MOVE_SEND 17
#define MACH_MSG_TYPE_MOVE_SEND_ONCE 18
#define MACH_MSG_TYPE_COPY_SEND 19
#define MACH_MSG_TYPE_MAKE_SEND 20
#define MACH_MSG_TYPE_MAKE_SEND_ONCE 21
#define MACH_MSG_TYPE_PORT_SEND MACH_MSG_TYPE_MOVE_SEND
#define MACH_MSG_TYPE_PORT_SEND_ONCE MACH_MSG_TYPE_MOVE_SEND_ONCE

#define MACH_MSGH_BITS(remote, local) ((remote) | ((local) << 8))
#define MACH_MSGH_BITS_REMOTE(bits) ((bits)&0x1f)
#define MACH_MSGH_BITS_LOCAL(bits) (((bits) >> 8) & 0x1f)
#define MACH_MSGH_BITS_COMPLEX 0x80000000u

// mach_msg options.
#define MACH_MSG_OPTION_NONE 0x00000000
#define MACH_SEND_MSG 0x00000001
#define MACH_RCV_MSG 0x00000002
#define MACH_RCV_LARGE 0x00000004
#define MACH_SEND_TIMEOUT 0x00000010
#define MACH_RCV_TIMEOUT 0x00000100
#define MACH_MSG_TIMEOUT_NONE ((mach_msg_timeout_t)0)

// Out-of-line descriptors.
#define MACH_MSG_PHYSICAL_COPY 0
#define MACH_MSG_VIRTUAL_COPY 1
#define MACH_MSG_PORT_DESCRIPTOR 0
#define MACH_MSG_OOL_DESCRIPTOR 1
#define MACH_MSG_OOL_PORTS_DESCRIPTOR 2
#define MACH_MSG_OOL_VOLATILE_DESCRIPTOR 3

// Special ports of a task.
#define TASK_BOOTSTRAP_PORT 4

#pragma pack(push, 4)

typedef struct {
    mach_msg_bits_t msgh_bits;
    mach_msg_size_t msgh_size;
    mach_port_t msgh_remote_port;
    mach_port_t msgh_local_port;
    mach_port_name_t msgh_voucher_port;
    mach_msg_id_t msgh_id;
} mach_msg_header_t;

typedef struct {
    mach_msg_size_t msgh_descriptor_count;
} mach_msg_body_t;

typedef struct {
    void *address;
    boolean_t deallocate : 8;
    mach_msg_copy_options_t copy : 8;
    unsigned int pad1 : 8;
    mach_msg_descriptor_type_t type : 8;
    mach_msg_size_t size;
} mach_msg_ool_descriptor_t;

#pragma pack(pop)

static_assert(sizeof(mach_msg_header_t) == 24);
static_assert(sizeof(mach_msg_body_t) == 4);
static_assert(sizeof(mach_msg_ool_descriptor_t) == 16);

// The calling task. Every process of the device is one task.
mach_port_t mach_task_self(void);

kern_return_t task_get_special_port(task_t task, int which, mach_port_t *port);

// Creates a receive right (MACH_PORT_RIGHT_RECEIVE is the only kind that can be allocated).
kern_return_t mach_port_allocate(ipc_space_t task, mach_port_right_t right, mach_port_name_t *name);

// Drops one user reference of a send, send-once or dead-name right.
kern_return_t mach_port_deallocate(ipc_space_t task, mach_port_name_t name);

// Adds delta user references of one right; a receive right is destroyed with delta -1.
kern_return_t mach_port_mod_refs(ipc_space_t task, mach_port_name_t name, mach_port_right_t right,
                                 mach_port_delta_t delta);

// Unmaps out-of-line memory that this process received.
kern_return_t vm_deallocate(vm_map_t task, vm_address_t address, vm_size_t size);

mach_msg_return_t mach_msg(mach_msg_header_t *message, mach_msg_option_t option,
                           mach_msg_size_t send_size, mach_msg_size_t rcv_size,
                           mach_port_name_t rcv_name, mach_msg_timeout_t timeout,
                           mach_port_name_t notify);

} // extern "C"
