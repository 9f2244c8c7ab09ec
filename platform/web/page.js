// The page's side of the web layer: the canvas's size, the close control,
// the keys and the turn and pause buttons, animation frames, the message
// box, and the WebGL drawing of quads.
mergeInto(LibraryManager.library, {
  $quennPage: {
    wake: null,   // ends the current wait for a frame, if any
    frame: 0,     // its animation frame request
    canvasId: '', // the canvas's element id, and the numbers of the messages
    sizeMessage: 0,   // that the page posts, as the layer names them
    closeMessage: 0,
    canvas: function() { return document.getElementById(quennPage.canvasId); },
    // The canvas's size in CSS pixels, as its content box lays out: the
    // client area in the page's logical pixels. The backing store has as
    // many, and the browser scales it to the screen's pixels.
    watchSize: function(canvas) {
      var post = Module['_quennPagePost'];
      new ResizeObserver(function(entries) {
        var entry = entries[entries.length - 1];
        var width = Math.round(entry.contentRect.width);
        var height = Math.round(entry.contentRect.height);
        if (canvas.width !== width || canvas.height !== height) {
          canvas.width = width;
          canvas.height = height;
        }
        post(quennPage.sizeMessage, width, height);
        quennPage.wakeUp(0);
      }).observe(canvas);
    },
    // Sizes the box's content, the client area, in CSS pixels: the page's
    // style keeps it within the viewport and at least its least size, and
    // the size observer tells the program.
    sizeBox: function(box, width, height) {
      box.style.width = Math.max(0, Math.round(width)) + 'px';
      box.style.height = Math.max(0, Math.round(height)) + 'px';
    },
    // The handle at the box's corner, for any pointer: a drag of it sizes
    // the box.
    followHandle: function(box, canvas) {
      var handle = document.getElementById('resize-handle');
      if (!handle) return;
      var from = null;
      handle.addEventListener('pointerdown', function(event) {
        if (!event.isPrimary || event.button !== 0) return;
        event.preventDefault();
        handle.setPointerCapture(event.pointerId);
        from = {x: event.clientX, y: event.clientY, width: canvas.clientWidth,
                height: canvas.clientHeight};
      });
      handle.addEventListener('pointermove', function(event) {
        if (!from) return;
        quennPage.sizeBox(box, from.width + event.clientX - from.x,
                          from.height + event.clientY - from.y);
      });
      ['pointerup', 'pointercancel'].forEach(function(type) {
        handle.addEventListener(type, function() { from = null; });
      });
    },
    // The Smaller and Larger buttons (data-resize, -1 or 1) size the box by
    // a step each way from its size as laid out, for a tap as for the keys.
    // Buttons rather than arrow keys on a focusable handle: a tap needs no
    // drag, and a button is reached by Tab and named to assistive technology
    // as it is, where ARIA has no role for a handle that resizes both ways.
    followSizeButtons: function(box, canvas) {
      var STEP = 32;  // CSS pixels, each way
      document.querySelectorAll('button[data-resize]').forEach(function(button) {
        var step = STEP * Number(button.dataset.resize);
        button.addEventListener('click', function() {
          quennPage.sizeBox(box, canvas.clientWidth + step, canvas.clientHeight + step);
        });
      });
    },
    // Resumes the program once the code running now, which may be the
    // program's own (an input callback), has returned.
    wakeUp: function(painting) {
      var wake = quennPage.wake;
      if (!wake) return;
      quennPage.wake = null;
      cancelAnimationFrame(quennPage.frame);
      Promise.resolve().then(function() { wake(painting); });
    },
  },

  quennPageOpen__deps: ['$quennPage'],
  quennPageOpen: function(canvasId, width, height, title, sizeMessage, closeMessage) {
    quennPage.canvasId = UTF8ToString(canvasId);
    quennPage.sizeMessage = sizeMessage;
    quennPage.closeMessage = closeMessage;
    var canvas = quennPage.canvas();
    var box = canvas.parentElement;
    box.style.width = width + 'px';
    box.style.height = height + 'px';
    canvas.width = width;
    canvas.height = height;
    document.title = UTF8ToString(title);
    quennPage.watchSize(canvas);
    quennPage.followHandle(box, canvas);
    quennPage.followSizeButtons(box, canvas);
    var close = document.getElementById('close');
    if (close) {
      close.addEventListener('click', function() {
        Module['_quennPagePost'](quennPage.closeMessage, 0, 0);
        quennPage.wakeUp(0);
      });
    }
  },

  quennPageCanvasWidth__deps: ['$quennPage'],
  quennPageCanvasWidth: function() { return quennPage.canvas().width; },
  quennPageCanvasHeight__deps: ['$quennPage'],
  quennPageCanvasHeight: function() { return quennPage.canvas().height; },

  quennPageWaitForFrame__deps: ['$quennPage'],
  quennPageWaitForFrame: function(frameWanted) {
    return Asyncify.handleSleep(function(wakeUp) {
      quennPage.wake = wakeUp;
      if (frameWanted) {
        quennPage.frame = requestAnimationFrame(function() { quennPage.wakeUp(1); });
      }
    });
  },

  quennPageWake__deps: ['$quennPage'],
  quennPageWake: function() { quennPage.wakeUp(0); },

  // Pointer Events on the canvas, for the layer to turn into messages. Only
  // the canvas listens: a mouse released outside it is not seen, as without
  // capture on Windows, while a finger or a pen keeps the browser's implicit
  // capture until it lifts.
  quennPageListenToPointers__deps: ['$quennPage'],
  quennPageListenToPointers: function() {
    var canvas = quennPage.canvas();
    var post = Module['_quennPagePointer'];
    var handle = function(event) {
      var rect = canvas.getBoundingClientRect();
      if (post(event.isPrimary, event.button, event.buttons, event.type === 'pointercancel',
               event.clientX - rect.left, event.clientY - rect.top)) {
        event.preventDefault();
      }
      // Its default prevented, a press no longer focuses the canvas: the
      // keys then turn where the pointer did.
      if (event.type === 'pointerdown' && event.isPrimary) canvas.focus({preventScroll: true});
    };
    ['pointerdown', 'pointermove', 'pointerup', 'pointercancel'].forEach(function(type) {
      canvas.addEventListener(type, handle);
    });
  },

  // Keys on the canvas, and the buttons that stand for keys (data-key, the
  // KeyboardEvent.key they give), for the layer to use or pass on; the
  // Pause button. A button turns once when pressed, then again and again
  // while held, as a held key repeats.
  quennPageListenToKeys__deps: ['$quennPage'],
  quennPageListenToKeys: function() {
    var REPEAT_DELAY_MS = 400;
    var REPEAT_EVERY_MS = 50;
    var key = function(name, shift, otherModifier) {
      var top = stackSave();
      try {
        return Module['_quennPageKey'](allocateUTF8OnStack(name), shift, otherModifier);
      } finally {
        stackRestore(top);
      }
    };
    quennPage.canvas().addEventListener('keydown', function(event) {
      if (key(event.key, event.shiftKey, event.ctrlKey || event.altKey || event.metaKey)) {
        event.preventDefault();
      }
    });
    document.querySelectorAll('button[data-key]').forEach(function(button) {
      var timer = 0;
      var stop = function() {
        clearTimeout(timer);
        clearInterval(timer);
        timer = 0;
      };
      var press = function(shift) { key(button.dataset.key, shift, false); };
      button.addEventListener('pointerdown', function(event) {
        if (!event.isPrimary || event.button !== 0) return;
        stop();
        press(event.shiftKey);
        timer = setTimeout(function() {
          timer = setInterval(function() { press(event.shiftKey); }, REPEAT_EVERY_MS);
        }, REPEAT_DELAY_MS);
      });
      ['pointerup', 'pointercancel', 'pointerleave'].forEach(function(type) {
        button.addEventListener(type, stop);
      });
      // A long touch would open a menu instead of repeating.
      button.addEventListener('contextmenu', function(event) { event.preventDefault(); });
      // A click without a pointer's press: the keyboard's Enter or Space, or
      // assistive technology.
      button.addEventListener('click', function(event) {
        if (event.detail === 0) press(event.shiftKey);
      });
    });
    var pause = document.getElementById('pause');
    if (pause) pause.addEventListener('click', function() { Module['_quennPageTogglePause'](); });
  },

  quennPagePrefersReducedMotion: function() {
    return matchMedia('(prefers-reduced-motion: reduce)').matches;
  },

  // The Pause button names what it does next; the status says the change
  // once, politely (role="status").
  quennPageShowPaused: function(paused, reducedMotion) {
    var pause = document.getElementById('pause');
    if (pause) pause.textContent = paused ? 'Play' : 'Pause';
    var status = document.getElementById('status');
    if (!status) return;
    if (!paused) {
      status.textContent = 'Playing.';
    } else if (reducedMotion) {
      status.textContent = 'Paused, as your system asks for reduced motion. ' +
          'Play, or Space on the picture, starts the motion.';
    } else {
      status.textContent = 'Paused. Play, or Space on the picture, starts the motion again.';
    }
  },

  quennPageMessageBox: function(text, caption) {
    var message = UTF8ToString(text);
    var title = UTF8ToString(caption);
    // Called again when the program resumes: only the first call shows it.
    return Asyncify.handleSleep(function(wakeUp) {
      console.error(title + ': ' + message);
      // Named by its caption and described by its text for assistive
      // technology; the OK button has the focus.
      var dialog = document.createElement('dialog');
      dialog.className = 'message-box';
      dialog.setAttribute('aria-labelledby', 'message-box-caption');
      dialog.setAttribute('aria-describedby', 'message-box-text');
      var heading = document.createElement('h2');
      heading.id = 'message-box-caption';
      heading.textContent = title;
      var body = document.createElement('p');
      body.id = 'message-box-text';
      body.textContent = message;
      var form = document.createElement('form');
      form.method = 'dialog';
      var ok = document.createElement('button');
      ok.textContent = 'OK';
      ok.autofocus = true;
      form.appendChild(ok);
      dialog.append(heading, body, form);
      (document.querySelector('main') || document.body).appendChild(dialog);
      // The button, Escape or closing it otherwise: each dismisses it.
      dialog.addEventListener('close', function() {
        dialog.remove();
        wakeUp(0);
      });
      dialog.showModal();
    });
  },

  $quennGl: {
    program: null,
    buffer: null,
    indexBuffer: null,
    quads: 0,          // how many quads the index buffer covers
    watching: false,   // the canvas's loss and return are followed
    lost: false,       // the browser took the context away
    restorations: 0,   // how many times it gave it back
    shader: function(gl, type, source) {
      var shader = gl.createShader(type);
      gl.shaderSource(shader, source);
      gl.compileShader(shader);
      return shader;
    },
    // Quads as two triangles each: 0 1 2, 0 2 3 of every four corners.
    indices: function(gl, quads) {
      var indices = new Uint32Array(quads * 6);
      for (var q = 0, v = 0; q < quads; ++q, v += 4) {
        indices.set([v, v + 1, v + 2, v, v + 2, v + 3], q * 6);
      }
      gl.bufferData(gl.ELEMENT_ARRAY_BUFFER, indices, gl.STATIC_DRAW);
    },
  },

  quennWebGlWatchLoss__deps: ['$quennGl', '$quennPage'],
  quennWebGlWatchLoss: function() {
    if (quennGl.watching) return;
    quennGl.watching = true;
    var canvas = quennPage.canvas();
    // Accepting the loss (its default prevented) lets the browser give the
    // context back; its objects are then made again before the next draw.
    canvas.addEventListener('webglcontextlost', function(event) {
      event.preventDefault();
      quennGl.lost = true;
    });
    canvas.addEventListener('webglcontextrestored', function() {
      quennGl.lost = false;
      quennGl.restorations++;
      Module['_quennPageRedraw']();
    });
  },

  quennWebGlLost__deps: ['$quennGl'],
  quennWebGlLost: function() { return quennGl.lost; },
  quennWebGlRestorations__deps: ['$quennGl'],
  quennWebGlRestorations: function() { return quennGl.restorations; },

  // 1 when the shaders compiled and linked, 0 when the browser refused them.
  quennWebGlMakeObjects__deps: ['$GL', '$quennGl'],
  quennWebGlMakeObjects: function() {
    var gl = GLctx;
    var vertex = quennGl.shader(gl, gl.VERTEX_SHADER,
        '#version 300 es\n' +
        'layout(location = 0) in vec4 position;\n' +
        'layout(location = 1) in vec4 colour;\n' +
        'out vec4 shade;\n' +
        'void main() { gl_Position = position; shade = colour; }\n');
    var fragment = quennGl.shader(gl, gl.FRAGMENT_SHADER,
        '#version 300 es\n' +
        'precision mediump float;\n' +
        'in vec4 shade;\n' +
        'out vec4 fragment;\n' +
        'void main() { fragment = shade; }\n');
    var program = gl.createProgram();
    gl.attachShader(program, vertex);
    gl.attachShader(program, fragment);
    gl.linkProgram(program);
    if (!gl.getShaderParameter(vertex, gl.COMPILE_STATUS) ||
        !gl.getShaderParameter(fragment, gl.COMPILE_STATUS) ||
        !gl.getProgramParameter(program, gl.LINK_STATUS)) {
      return 0;
    }
    gl.useProgram(program);
    var vao = gl.createVertexArray();
    gl.bindVertexArray(vao);
    quennGl.buffer = gl.createBuffer();
    gl.bindBuffer(gl.ARRAY_BUFFER, quennGl.buffer);
    // x, y, z, w as floats, then the colour as four normalised bytes: 20 bytes.
    gl.enableVertexAttribArray(0);
    gl.vertexAttribPointer(0, 4, gl.FLOAT, false, 20, 0);
    gl.enableVertexAttribArray(1);
    gl.vertexAttribPointer(1, 4, gl.UNSIGNED_BYTE, true, 20, 16);
    quennGl.indexBuffer = gl.createBuffer();
    gl.bindBuffer(gl.ELEMENT_ARRAY_BUFFER, quennGl.indexBuffer);
    quennGl.quads = 0;
    gl.disable(gl.DITHER);
    quennGl.program = program;
    return 1;
  },

  quennWebGlClear__deps: ['$GL'],
  quennWebGlClear: function(r, g, b, a) {
    GLctx.clearColor(r, g, b, a);
    GLctx.clear(GLctx.COLOR_BUFFER_BIT);
  },

  quennWebGlDrawQuads__deps: ['$GL', '$quennGl'],
  quennWebGlDrawQuads: function(vertices, count, x, y, width, height, blend, source, destination) {
    var gl = GLctx;
    var quads = count >> 2;
    if (quads > quennGl.quads) {
      quennGl.quads = Math.max(quads, 2 * quennGl.quads);
      quennGl.indices(gl, quennGl.quads);
    }
    gl.bufferData(gl.ARRAY_BUFFER, HEAPU8.subarray(vertices, vertices + count * 20),
                  gl.STREAM_DRAW);
    gl.viewport(x, y, width, height);
    if (blend) {
      gl.enable(gl.BLEND);
      gl.blendFunc(source, destination);
    } else {
      gl.disable(gl.BLEND);
    }
    gl.drawElements(gl.TRIANGLES, quads * 6, gl.UNSIGNED_INT, 0);
  },
});
