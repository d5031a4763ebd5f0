;; Start-up of the sound program: interrupt mode 1, stack at the top of 0x8300-0x83FF, variables
;; in 0x8000-0x80FF (both ranges travel in the board's save states).
	.module	crt0
	.globl	_main
	.globl	_sound_irq

	.area	_HEADER (ABS)
	.org	0x0000
	di
	ld	sp,#0x8400
	jp	init

	.org	0x0038
	jp	irq_entry

init:
	im	1
	call	clear_variables
	call	gsinit
	jp	_main

;; The command interrupt: the main program raises it once a frame, with or without a command.
irq_entry:
	push	af
	push	bc
	push	de
	push	hl
	push	ix
	push	iy
	call	_sound_irq
	pop	iy
	pop	ix
	pop	hl
	pop	de
	pop	bc
	pop	af
	ei
	reti

	.include	"sdcc_runtime.s"

;; Variables start at zero (outside the fixed header, which has no room to spare).
	.area	_CODE
clear_variables:
	ld	hl,#0x8000
	ld	de,#0x8001
	ld	bc,#0x00FF
	ld	(hl),#0
	ldir
	ret
