inherited TestChildForm: TTestChildForm
  Caption = 'Child'
  inherited Panel1: TTestPanel
    Caption = 'Changed'
  end
  object Extra: TTestPanel
    FullHeight = 0
  end
end
