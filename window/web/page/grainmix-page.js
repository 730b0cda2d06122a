// The page's side of the window: what only the page's own script can do. The
// program takes over the controls the page's HTML brings and drives them;
// this passes their events in, keeps
// Tab inside the form, shows the message, fits the form to small screens and
// says when the program has ended.
Module['grainmixPage'] = (function () {
  'use strict';
  var formWidth = 0;
  var form = null;
  var ended = false;
  // While the message is open the program waits inside the event that raised
  // it; the form is inert then, and nothing else may enter the program.
  var waiting = false;

  function controlOf(target) {
    var index = target && target.dataset ? target.dataset.control : undefined;
    return index === undefined ? -1 : Number(index);
  }

  function focusChain() {
    var chain = Array.prototype.slice.call(form.querySelectorAll('[data-focus-order]'));
    chain.sort(function (a, b) {
      return Number(a.dataset.focusOrder) - Number(b.dataset.focusOrder);
    });
    return chain;
  }

  // Tab and Shift+Tab walk the window's own order and wrap around, as in a
  // desktop window, rather than leaving for the browser's toolbar.
  function onKeyDown(event) {
    if (event.key !== 'Tab' || event.altKey || event.ctrlKey || event.metaKey) return;
    if (ended || waiting) return;
    var chain = focusChain();
    var at = chain.indexOf(document.activeElement);
    var step = event.shiftKey ? -1 : 1;
    var next = at < 0 ? (event.shiftKey ? chain.length - 1 : 0)
                      : (at + step + chain.length) % chain.length;
    event.preventDefault();
    chain[next].focus();
    if (chain[next].select && chain[next].tagName === 'INPUT') chain[next].select();
  }

  function fitToScreen() {
    if (!form) return;
    var scale = Math.min(1, document.documentElement.clientWidth / formWidth);
    form.style.transform = scale < 1 ? 'scale(' + scale + ')' : '';
    form.parentNode.style.width = scale < 1 ? formWidth * scale + 'px' : '';
    form.parentNode.style.height = scale < 1 ? form.offsetHeight * scale + 'px' : '';
  }

  // A keypad with a full stop: the decimal pad where the user's numbers use
  // one, the ordinary keyboard (whose digits include it) where they use a
  // comma, which the program would not read as a decimal point.
  function amountKeyboard() {
    var one = new Intl.NumberFormat().format(1.5);
    return one.indexOf('.') >= 0 ? 'decimal' : 'text';
  }

  // Safari on iPhones and iPads zooms into a field whose text is smaller than
  // 16 px when it takes the focus. A maximum scale stops that; there it no
  // longer stops the user from pinch-zooming, as it would elsewhere.
  function noZoomOnFocus() {
    var apple = /iPhone|iPad|iPod/.test(navigator.userAgent) ||
                (navigator.platform === 'MacIntel' && navigator.maxTouchPoints > 1);
    var viewport = document.querySelector('meta[name=viewport]');
    if (apple && viewport) viewport.content += ', maximum-scale=1';
  }

  return {
    show: function (newForm) {
      noZoomOnFocus();
      form = newForm;
      formWidth = form.offsetWidth;
      var keyboard = amountKeyboard();
      Array.prototype.forEach.call(form.querySelectorAll('input'), function (input) {
        input.setAttribute('inputmode', keyboard);
      });
      form.addEventListener('input', function (event) {
        if (!ended && !waiting) Module['_grainmix_input'](controlOf(event.target));
      });
      form.addEventListener('click', function (event) {
        var button = event.target.closest('button');
        if (button && !ended && !waiting) Module['_grainmix_click'](controlOf(button));
      });
      document.addEventListener('keydown', onKeyDown);
      window.addEventListener('resize', fitToScreen);
      fitToScreen();
    },

    setNote: function (control, note) {
      control.classList.toggle('noted', note !== '');
      if (note === '') {
        control.removeAttribute('title');
        control.removeAttribute('aria-invalid');
      } else {
        control.title = note;
        control.setAttribute('aria-invalid', 'true');
      }
    },

    // Modal, one OK button, no icon. Enter, Space and Escape dismiss it, and
    // the focus goes back to where it was. Resolves once it is dismissed.
    message: function (title, text) {
      waiting = true;
      var before = document.activeElement;
      var dialog = document.createElement('dialog');
      dialog.className = 'message';
      dialog.setAttribute('aria-labelledby', 'message-title');
      dialog.setAttribute('aria-describedby', 'message-text');
      var heading = document.createElement('h2');
      heading.id = 'message-title';
      heading.textContent = title;
      var body = document.createElement('p');
      body.id = 'message-text';
      body.textContent = text;
      var ok = document.createElement('button');
      ok.type = 'button';
      ok.textContent = 'OK';
      var buttons = document.createElement('div');
      buttons.className = 'message-buttons';
      buttons.appendChild(ok);
      dialog.appendChild(heading);
      dialog.appendChild(body);
      dialog.appendChild(buttons);
      document.body.appendChild(dialog);
      return new Promise(function (resolve) {
        // Dismissed within the event that dismisses it, so that the program
        // has resumed before the browser handles anything else.
        function dismiss() {
          if (!waiting) return;
          waiting = false;
          dialog.close();
          dialog.remove();
          if (before && before.focus) before.focus();
          resolve();
        }
        ok.addEventListener('click', dismiss);
        dialog.addEventListener('cancel', function (event) {
          event.preventDefault();
          dismiss();
        });
        dialog.addEventListener('close', dismiss);
        dialog.addEventListener('keydown', function (event) {
          // Tab stays on the one button.
          if (event.key === 'Tab') event.preventDefault();
        });
        dialog.showModal();
        ok.focus();
      });
    },

    // A page cannot close a tab it did not open: try, then say so in the page.
    end: function (oldForm) {
      ended = true;
      document.removeEventListener('keydown', onKeyDown);
      window.removeEventListener('resize', fitToScreen);
      oldForm.remove();
      window.close();
      var holder = document.getElementById('window');
      holder.style.width = '';
      holder.style.height = '';
      var line = document.createElement('p');
      line.className = 'ended';
      line.textContent = 'Grain Mix has ended. ';
      var again = document.createElement('button');
      again.type = 'button';
      again.textContent = 'Start again';
      again.addEventListener('click', function () { location.reload(); });
      line.appendChild(again);
      holder.appendChild(line);
      again.focus();
    }
  };
})();
