;; Start-up of the main program. The board fixes three places: the frame NMI at 0x0066, the
;; publisher name at 0x006D-0x0072 and the board check at 0x00E1, an instruction reading port 2
;; that a genuine board replaces with LD A,0x7F.
	.module	crt0
	.globl	_main
	.globl	_frame_nmi
	.globl	_board_fault

	.area	_HEADER (ABS)
	.org	0x0000
	di
	ld	sp,#0x4800
	jp	clear_ram

	.org	0x0066
	jp	nmi_entry

	.org	0x006D
	.ascii	"TAVRIK"

clear_ram:
	ld	hl,#0x4000
	ld	de,#0x4001
	ld	bc,#0x07FF
	ld	(hl),#0
	ldir
	call	gsinit
	jp	board_check

	.org	0x00E1
board_check:
	ld	a,(0x8102)
	cp	#0x7F
	jr	nz,fault
	ld	a,(0x8202)
	cp	#0x6F
	jr	nz,fault
	jp	_main
fault:
	jp	_board_fault

nmi_entry:
	push	af
	push	bc
	push	de
	push	hl
	push	ix
	push	iy
	call	_frame_nmi
	pop	iy
	pop	ix
	pop	hl
	pop	de
	pop	bc
	pop	af
	retn

	.include	"sdcc_runtime.s"
