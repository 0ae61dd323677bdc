/*
 * The stack trampoline of stackcall.h, for 32-bit x86 (ELF and PE).
 *
 * Frame: ebp saved, then ebx, esi, edi.  From an address aligned to 16 it
 * goes down by k bytes, k chosen so that after pushing n argument words and
 * the return address the routine sees esp = residue (mod 16):
 *   k = (-(4n + 4 + residue)) mod 16.
 * edi keeps esp as it was right before the call (callee-saved); esp after the
 * return must equal it plus the bytes the callee pops (argument 6).
 */
#include "host/stackcall.h"

#if defined(__i386__)

#if defined(_WIN32)
#define VELK_SYM "_velk_stack_call"
#define VELK_TYPE ""
#define VELK_PROBE "_velk_entry_esp"
#else
#define VELK_SYM "velk_stack_call"
#define VELK_TYPE ".type velk_stack_call, @function\n"
#define VELK_PROBE "velk_entry_esp"
#endif

/* The probe returns the stack pointer it was entered with. */
__asm__(
    ".text\n"
    ".globl " VELK_PROBE "\n"
    VELK_PROBE ":\n"
    "    movl %esp, %eax\n"
    "    ret\n");

__asm__(
    ".text\n"
    ".globl " VELK_SYM "\n"
    VELK_TYPE
    ".p2align 4\n"
    VELK_SYM ":\n"
    "    pushl %ebp\n"
    "    movl %esp, %ebp\n"
    "    pushl %ebx\n"
    "    pushl %esi\n"
    "    pushl %edi\n"
    "    movl 12(%ebp), %esi\n"          /* words */
    "    movl 16(%ebp), %ecx\n"          /* nwords */
    "    movl 20(%ebp), %edx\n"          /* residue */
    "    movl %esp, %edi\n"
    "    andl $-16, %edi\n"
    "    subl $64, %edi\n"
    "    leal 4(%edx,%ecx,4), %ebx\n"    /* 4n + 4 + residue */
    "    negl %ebx\n"
    "    andl $15, %ebx\n"
    "    subl %ebx, %edi\n"
    "    movl %edi, %esp\n"
    "1:  testl %ecx, %ecx\n"
    "    jz 2f\n"
    "    decl %ecx\n"
    "    pushl (%esi,%ecx,4)\n"
    "    jmp 1b\n"
    "2:  movl %esp, %edi\n"
    "    addl 28(%ebp), %edi\n"         /* + pops */
    "    call *8(%ebp)\n"
    "    xorl %ecx, %ecx\n"
    "    cmpl %edi, %esp\n"
    "    setne %cl\n"
    "    movl 32(%ebp), %esi\n"          /* out */
    "    movl %eax, 0(%esi)\n"
    "    movl %edx, 4(%esi)\n"
    "    movl 24(%ebp), %ebx\n"          /* fp */
    "    cmpl $1, %ebx\n"
    "    jne 3f\n"
    "    fstps 16(%esi)\n"
    "    jmp 4f\n"
    "3:  cmpl $2, %ebx\n"
    "    jne 4f\n"
    "    fstpl 8(%esi)\n"
    "4:  movl %ecx, %eax\n"
    "    leal -12(%ebp), %esp\n"
    "    popl %edi\n"
    "    popl %esi\n"
    "    popl %ebx\n"
    "    popl %ebp\n"
    "    ret\n");

_Static_assert(__builtin_offsetof(velk_raw, st0) == 8, "velk_raw layout");
_Static_assert(__builtin_offsetof(velk_raw, st0f) == 16, "velk_raw layout");

#else
typedef int velk_stackcall_unused; /* nothing to build on other targets */
#endif
