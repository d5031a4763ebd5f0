;; The C runtime's memory areas in link order, and gsinit, which copies the initial values of
;; initialised variables into RAM. Included at the end of each program's crt0.
	.area	_HOME
	.area	_CODE
	.area	_INITIALIZER
	.area	_GSINIT
	.area	_GSFINAL
	.area	_DATA
	.area	_INITIALIZED
	.area	_BSEG
	.area	_BSS
	.area	_HEAP

	.area	_GSINIT
gsinit::
	ld	bc,#l__INITIALIZER
	ld	a,b
	or	a,c
	jr	z,gsinit_done
	ld	de,#s__INITIALIZED
	ld	hl,#s__INITIALIZER
	ldir
gsinit_done:
	.area	_GSFINAL
	ret
